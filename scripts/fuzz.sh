#!/usr/bin/env bash
# Builds the libFuzzer programs of tests/fuzz with clang and runs each for a
# bounded time, as many at once as there are jobs.
#   fuzz.sh check BUILD_DIR SECONDS [JOBS]  over the committed corpus, which
#       stays as it is: new inputs go to a scratch directory that is dropped.
#   fuzz.sh grow BUILD_DIR SECONDS [JOBS]   grows the corpus in BUILD_DIR/
#       fuzz-work/TARGET, then merges it with the committed corpus
#       (tests/fuzz/corpus/TARGET) into the smallest set that covers both;
#       the hand-made seeds (seed_*) always stay.
# A crash, a broken property or a sanitizer report fails the run; the input
# is left in BUILD_DIR/fuzz-artifacts/TARGET/.
set -euo pipefail
mode=${1:?check or grow}
build_dir=${2:?build directory}
seconds=${3:?seconds per target}
jobs=${4:-$(nproc)}
root=$(cd "$(dirname "$0")/.." && pwd)
timed="$root/scripts/timed.sh"

# Longest input each target gets: enough for every structure it reads.
declare -A max_len=([profile_file]=1024 [emulator_ini]=2048 [listing]=4096 [extract_rom_name]=512)
targets=(profile_file emulator_ini listing extract_rom_name)

"$timed" fuzz-build bash -c '
  CXX=clang++ cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
    -DLORVANE_FUZZ=ON -DLORVANE_BUILD_VIEW=OFF -DLORVANE_BUILD_TESTS=OFF -DLORVANE_BUILD_BENCH=OFF >/dev/null &&
  cmake --build "$2" -j "$3" --target fuzz_profile_file fuzz_emulator_ini fuzz_listing fuzz_extract_rom_name' \
  _ "$root" "$build_dir" "$jobs"
build_dir=$(cd "$build_dir" && pwd)
mkdir -p "$build_dir/fuzz-logs"

run_one() {
  local target=$1 corpus="$root/tests/fuzz/corpus/$1" work log artifacts
  log="$build_dir/fuzz-logs/$target.log"
  artifacts="$build_dir/fuzz-artifacts/$target"
  if [ "$mode" = grow ]; then
    work="$build_dir/fuzz-work/$target"
  else
    work=$(mktemp -d)
  fi
  mkdir -p "$work" "$artifacts"
  local rc=0
  "$build_dir/bin/fuzz_$target" -max_total_time="$seconds" -max_len="${max_len[$target]}" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/" "$work" "$corpus" >"$log" 2>&1 || rc=$?
  if [ "$mode" = grow ] && [ $rc -eq 0 ]; then
    # The smallest set that reaches every edge the committed corpus and the
    # new inputs reach, on top of the hand-made seeds, replaces the corpus;
    # counting how often an edge runs would keep hundreds of files more. The
    # full corpus stays in the work directory for the next run.
    local merged
    merged=$(mktemp -d)
    cp "$corpus"/seed_* "$merged"/
    "$build_dir/bin/fuzz_$target" -merge=1 -use_counters=0 -max_len="${max_len[$target]}" -timeout=10 \
      "$merged" "$corpus" "$work" \
      >>"$log" 2>&1 || rc=$?
    if [ $rc -eq 0 ]; then
      find "$corpus" -type f ! -name 'seed_*' -delete
      cp "$merged"/* "$corpus"/
    fi
    rm -rf "$merged"
  fi
  [ "$mode" = grow ] || rm -rf "$work"
  local runs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | head -n 1)
  if [ $rc -eq 0 ]; then
    echo "fuzz_$target: ${runs:-?} executions in $seconds s, corpus $(find "$corpus" -type f | wc -l) files"
  else
    echo "fuzz_$target: FAILED (exit $rc) after ${runs:-?} executions; log $log, input in $artifacts/"
    grep -E 'property broken|ERROR|runtime error|SUMMARY|Test unit written' "$log" | head -n 20 || true
  fi
  return $rc
}

start=$(date +%s)
rm -f "$build_dir"/fuzz-logs/*.rc
for target in "${targets[@]}"; do
  # At most "jobs" programs at once; each leaves its status in a file.
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  (rc=0; run_one "$target" || rc=$?; echo $rc >"$build_dir/fuzz-logs/$target.rc") &
done
wait
failed=0
for target in "${targets[@]}"; do
  [ "$(cat "$build_dir/fuzz-logs/$target.rc" 2>/dev/null)" = 0 ] || failed=$((failed + 1))
done
echo "time fuzz-run: $(($(date +%s) - start)) s"
if [ "$mode" = grow ]; then
  echo "corpus: $(find "$root/tests/fuzz/corpus" -type f | wc -l) files, $(du -sb "$root/tests/fuzz/corpus" | cut -f1) bytes"
fi
echo "fuzz: $((${#targets[@]} - failed)) passed, $failed failed"
[ $failed -eq 0 ]
