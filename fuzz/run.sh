#!/usr/bin/env bash
# Builds the fuzz targets (preset "fuzz": clang, libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs each for SECONDS (default 50).
#
#   fuzz/run.sh [SECONDS]
#
# The corpora live in build/fuzz/corpus/<target>: seeded from fuzz/corpus/
# and, for whole runs, with one input per leaf of the template list;
# they keep growing across runs. A failing input is written to
# build/fuzz/artifacts/ and the script exits non-zero; replay it with
# build/fuzz/fuzz/<target>_fuzzer FILE.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-50}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

work=build/fuzz
mkdir -p "$work/corpus/read" "$work/corpus/run" "$work/corpus/extended" "$work/artifacts"
cp fuzz/corpus/read/* "$work/corpus/read/"
cp fuzz/corpus/run/* "$work/corpus/run/"

# One seed per leaf of the template list (fuzz/write_seeds.cpp).
"$work/fuzz/write_seeds" "$work/corpus/run"

status=0
for target in read run extended; do
  case $target in
    read) max_len=1024 ;;
    run) max_len=4096 ;;
    extended) max_len=28 ;;
  esac
  log="$work/artifacts/${target}_fuzzer.log"
  if "$work/fuzz/${target}_fuzzer" "$work/corpus/$target" -max_total_time="$seconds" -max_len="$max_len" \
      -timeout=10 -print_final_stats=1 -artifact_prefix="$work/artifacts/${target}-" > "$log" 2>&1; then
    result=passed
  else
    result=FAILED
    status=1
    grep -v -E '^#[0-9]+' "$log" | tail -n 60
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  corpus=$(ls "$work/corpus/$target" | wc -l)
  echo "${target}_fuzzer: $result, ${runs:-?} executions in ${seconds} s, corpus $corpus inputs"
done
exit $status
