#!/usr/bin/env bash
# Cross-builds the program and its core test suites for Windows with MinGW-w64
# and runs them under Wine, in a build directory of its own. The Wine prefix
# lives inside that directory, never in the home folder.
# Usage: test-windows.sh [BUILD_DIR [JOBS]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-build-windows}
jobs=${2:-$(nproc)}
timed="$root/scripts/timed.sh"

mkdir -p "$build_dir"
build_dir=$(cd "$build_dir" && pwd)
export WINEPREFIX="$build_dir/wineprefix"
export WINEDEBUG=-all
# No offer to install Mono or Gecko on the first start.
export WINEDLLOVERRIDES="mscoree,mshtml="

# ctest lists and runs the programs under Wine.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Setting up the Wine prefix $WINEPREFIX"
  if ! "$timed" wine-prefix bash -c 'wineboot -i >"$1" 2>&1' _ "$build_dir/wineboot.log"; then
    echo "wineboot -i failed; its output is in $build_dir/wineboot.log:" >&2
    tail -n 20 "$build_dir/wineboot.log" >&2
    exit 1
  fi
  wineserver -w || true
fi

# One wineserver for the whole run instead of one per test program; it ends
# with this script. Wine's own background programs start here, away from
# ctest's output pipes: started by a test program they would hold its output
# open until the server ends.
# A server of this prefix still running, or still ending after a run just
# before, would make ours fail to start (wineserver -p then exits 2, silently).
wineserver -k 2>/dev/null || true
wineserver -w
if ! wineserver -p; then
  echo "No Wine server could be started for $WINEPREFIX" >&2
  exit 1
fi
trap 'wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true' EXIT
if ! wineboot </dev/null >"$build_dir/wineboot-start.log" 2>&1; then
  echo "wineboot failed; its output is in $build_dir/wineboot-start.log:" >&2
  tail -n 20 "$build_dir/wineboot-start.log" >&2
  exit 1
fi

"$timed" windows-build bash -c '
  cmake -S "$1" -B "$2" -DCMAKE_TOOLCHAIN_FILE="$1/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLORVANE_BUILD_TESTS=ON >/dev/null &&
  cmake --build "$2" -j "$3"' _ "$root" "$build_dir" "$jobs"

"$timed" windows-ctest ctest --test-dir "$build_dir" --output-on-failure --no-tests=error -j "$jobs"
