#!/usr/bin/env bash
# Runs every benchmark program of a build (bin/bench_*) and prints the
# `name: value` lines they report. Exits non-zero when one of them fails.
# With a second directory, the Windows programs are built there first (for the
# benchmark that runs them under Wine).
# Usage: run-benchmarks.sh [BUILD_DIR [WINDOWS_BUILD_DIR]]
set -u
build_dir=${1:-build}
bin_dir="$build_dir/bin"
windows_build_dir=${2:-}
root=$(cd "$(dirname "$0")/.." && pwd)

shopt -s nullglob
programs=("$bin_dir"/bench_*)
if [ ${#programs[@]} -eq 0 ]; then
  echo "no benchmark programs in $bin_dir" >&2
  exit 1
fi

status=0
if [ -n "$windows_build_dir" ]; then
  if cmake -S "$root" -B "$windows_build_dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
       -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLORVANE_BUILD_BENCH=ON >/dev/null &&
     cmake --build "$windows_build_dir" -j 2 --target lorvane bench_combo_fill floor_win32_window folder_listing >/dev/null; then
    export LORVANE_WINDOWS_BIN
    LORVANE_WINDOWS_BIN=$(cd "$windows_build_dir/bin" && pwd)
  else
    echo "# the Windows programs could not be built in $windows_build_dir" >&2
    status=1
  fi
fi
for program in "${programs[@]}"; do
  [ -x "$program" ] || continue
  name=$(basename "$program")
  echo "# $name"
  output=$("$program" 2>&1)
  rc=$?
  printf '%s\n' "$output" | grep -E '^[A-Za-z0-9_.-]+: ' || true
  if [ $rc -ne 0 ]; then
    echo "# $name failed (exit $rc):" >&2
    printf '%s\n' "$output" | grep -Ev '^[A-Za-z0-9_.-]+: [-+0-9.eE]+$' >&2 || true
    status=1
  fi
done
exit $status
