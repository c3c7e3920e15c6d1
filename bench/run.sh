#!/usr/bin/env bash
# Times the release zorvandrel against the cost floor of the same run.
# Usage: bench/run.sh [RUNS]   (default 2000 runs of each)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-2000}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cd "$root"
cmake --preset release >/dev/null
cmake --build --preset release >/dev/null
zv="$root/build/release/zorvandrel"

# One real run gives the bytes the floor program writes.
cd "$work"
printf 'ap\n1\n3\n1\n1\n1\n\n' > input.txt
: > logfile.txt
"$zv" < input.txt > dialogue.bin
cp ap.txt program.bin
cp logfile.txt log.bin
confirm="programma sgenerirovana v file ap.txt v papke programmy"
before=$(grep -abo "$confirm" dialogue.bin | cut -d: -f1)
as_c_array() { printf 'static const unsigned char %s[] = {' "$1"; od -An -v -tu1 "$2" | tr -s ' \n' ',' | sed 's/^,//; s/,$//'; printf '};\n'; }
{
  as_c_array dialogue dialogue.bin
  as_c_array program program.bin
  as_c_array log_line log.bin
  printf 'static const unsigned long dialogue_before_file = %s;\n' "$before"
} > bench_data.h

cc -O2 -static -I"$work" -o floor "$root/bench/floor.c"
cc -O2 -o runner "$root/bench/runner.c"
"$work/runner" "$runs" "$work/input.txt" "$work/floor" "$zv"
