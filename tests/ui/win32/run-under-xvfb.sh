#!/usr/bin/env bash
# Runs a Windows program under Wine on an X server of its own (Xvfb), in a
# Wine prefix of its own beside the program, and ends both afterwards.
# Usage: run-under-xvfb.sh PROGRAM.exe [ARGS...]
set -euo pipefail
program=$1
shift
bin_dir=$(cd "$(dirname "$program")" && pwd)
export WINEPREFIX="$bin_dir/../wineprefix-window"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

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

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
wine "$program" "$@"
