#!/usr/bin/env bash
# Runs every benchmark program of a build (bin/bench_*) and prints the
# `name: value` lines they report. Exits non-zero when one of them fails.
set -u
build_dir=${1:-build}
bin_dir="$build_dir/bin"

shopt -s nullglob
programs=("$bin_dir"/bench_*)
if [ ${#programs[@]} -eq 0 ]; then
  echo "no benchmark programs in $bin_dir" >&2
  exit 1
fi

status=0
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
