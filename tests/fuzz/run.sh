#!/usr/bin/env bash
# Builds one reader's libFuzzer harness natively (clang with AddressSanitizer and
# UndefinedBehaviorSanitizer), replays the seed corpus and then fuzzes for a while.
# Exits non-zero on any finding; the input that caused it is kept in the output folder.
#
# usage: run.sh <reg|csv|bmp> <output folder> <seconds of fuzzing>
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
reader=$1
out=$2
seconds=$3

mkdir -p "$out/$reader-corpus"
harness="$out/${reader}_reader_fuzzer"
case $reader in
  bmp) sources=("$root/tests/fuzz/bmp_image_fuzzer.cpp" "$root/controls/bmp_image.cpp") ;;
  *) sources=("$root/tests/fuzz/${reader}_reader_fuzzer.cpp" "$root/formats/${reader}_text.cpp"
              "$root/formats/text_lines.cpp") ;;
esac
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root" "${sources[@]}" -o "$harness"

seeds="$root/tests/fuzz/corpus/$reader"
echo "$reader reader: replaying $(ls "$seeds" | wc -l) seed files"
"$harness" -runs=0 "$seeds"

# New inputs go to the folder under the build tree, never into the repository's seeds.
log="$out/$reader-fuzz.log"
"$harness" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
  -artifact_prefix="$out/$reader-" "$out/$reader-corpus" "$seeds" 2>"$log" || {
  tail -60 "$log"
  echo "$reader reader: FINDING after fuzzing, see $log" >&2
  exit 1
}
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
echo "$reader reader: $runs executions in $seconds s without a finding ($(ls "$out/$reader-corpus" | wc -l) inputs in the working corpus)"
