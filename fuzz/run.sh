#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time from the
# corpus in fuzz/corpus, then prints how many inputs each one ran.
#
#   fuzz/run.sh [SECONDS-PER-TARGET]     default 20
#   fuzz/run.sh --merge [SECONDS]        also keep new interesting inputs in fuzz/corpus
#
# A fault (crash, sanitizer report, NaN or denormal output, a hang of more
# than 10 s on one input) stops that target, leaves the input that caused it
# in $FUZZ_BUILD/artifacts, and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."

merge=no
if [ "${1:-}" = "--merge" ]; then
  merge=yes
  shift
fi
seconds="${1:-20}"
build="${FUZZ_BUILD:-build-fuzz}"
jobs="${JOBS:-2}"
targets=(midi_events chunk_loader dispatcher)

cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo > "$build.configure.log" 2>&1 ||
  { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j "$jobs" > "$build.build.log" 2>&1 || { tail -50 "$build.build.log"; exit 1; }

mkdir -p "$build/artifacts"
failed=0
total=0
for target in "${targets[@]}"; do
  found="$(mktemp -d)"
  log="$build/fuzz_$target.log"
  status=0
  "$build/fuzz_$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/${target}-" "$found" "fuzz/corpus/$target" > "$log" 2>&1 || status=$?
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
  runs="${runs:-0}"
  total=$((total + runs))
  if [ "$status" -ne 0 ]; then
    failed=1
    echo "fuzz_$target: FAULT after $runs executions; the input is in $build/artifacts, the report in $log"
    grep -E 'ERROR|runtime error|fuzz fault|SUMMARY' "$log" | head -5 || true
  else
    echo "fuzz_$target: $runs executions in $seconds s, no fault"
  fi
  if [ "$merge" = yes ]; then
    "$build/fuzz_$target" -merge=1 -max_len=4096 "fuzz/corpus/$target" "$found" > /dev/null 2>&1 || true
  fi
  rm -rf "$found"
done
echo "fuzzing: $total executions in total"
exit "$failed"
