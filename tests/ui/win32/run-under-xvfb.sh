#!/usr/bin/env bash
# Runs a Windows program under Wine on an X server of its own (Xvfb), in a
# Wine prefix of its own beside the program (or LORVANE_WINEPREFIX), at the
# given DPI (96 when none is given), and ends both afterwards. The program finds
# the DPI it was given in LORVANE_TEST_DPI.
# Usage: run-under-xvfb.sh [--dpi N] PROGRAM.exe [ARGS...]
set -euo pipefail
dpi=96
if [ "${1:-}" = --dpi ]; then
  dpi=$2
  shift 2
fi
program=$1
shift
bin_dir=$(cd "$(dirname "$program")" && pwd)
export WINEPREFIX="${LORVANE_WINEPREFIX:-$bin_dir/../wineprefix-window}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LORVANE_TEST_DPI=$dpi

display_file=$(mktemp)
xvfb_pid=
cleanup() {
  # Only what this script started: the prefix's own Wine processes, then Xvfb.
  wineserver -k 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -f "$display_file"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number once it accepts connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$display_file" ] && break
  sleep 0.1
done
[ -s "$display_file" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$display_file")"

# A server left by a run that was itself ended would keep the old DPI.
wineserver -k 2>/dev/null || true
wineserver -w
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi

# Wine takes the system's DPI from LogPixels when its server starts. The
# registry file is read only to spare a server start when it holds the DPI already.
if ! grep -qi "^\"LogPixels\"=dword:$(printf '%08x' "$dpi")" "$WINEPREFIX/user.reg"; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  # The server writes the registry out as it ends.
  wineserver -w
fi

# One server for the run. Wine's own programs start with the first program
# after it: started by wineboot here, they hold no handle of the test program,
# whose output ctest reads through a pipe until every holder has closed it.
wineserver -p
wineboot </dev/null >/dev/null 2>&1
wine "$program" "$@"
