#!/usr/bin/env bash
# Builds everything, the Qt window and its tests included, with AddressSanitizer
# (LeakSanitizer with it) and UndefinedBehaviorSanitizer in a build directory
# of its own, and runs the whole suite there. Any sanitizer report fails the
# run, also one from a program that a test starts (the stand-in emulator):
# every report goes to a log file, and the run fails when one was written.
# Usage: test-asan.sh [BUILD_DIR [JOBS]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-build-asan}
jobs=${2:-$(nproc)}
timed="$root/scripts/timed.sh"

"$timed" asan-build bash -c '
  cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
    -DLORVANE_SANITIZE=address,undefined -DLORVANE_BUILD_VIEW=ON -DLORVANE_BUILD_TESTS=ON \
    -DLORVANE_BUILD_BENCH=OFF -DLORVANE_FUZZ=OFF >/dev/null &&
  cmake --build "$2" -j "$3"' _ "$root" "$build_dir" "$jobs"

logs=$(cd "$build_dir" && pwd)/sanitizer-logs
rm -rf "$logs"
mkdir -p "$logs"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:check_initialization_order=1:detect_stack_use_after_return=1:log_path=$logs/asan"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$logs/ubsan"
export QT_QPA_PLATFORM=offscreen

rc=0
"$timed" asan-ctest ctest --test-dir "$build_dir" --output-on-failure --no-tests=error -j "$jobs" || rc=$?

shopt -s nullglob
reports=("$logs"/*)
if [ ${#reports[@]} -gt 0 ]; then
  for report in "${reports[@]}"; do
    echo "=== sanitizer report $report"
    cat "$report"
  done
  echo "sanitizers: ${#reports[@]} report(s), see above" >&2
  rc=1
fi
exit $rc
