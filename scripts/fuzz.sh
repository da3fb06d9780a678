#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time, as many at once
# as there are cores, from its committed corpus (fuzz/corpus/NAME) and seeds. Inputs are
# judged under the small budget of fuzz/FuzzBudget.h, and -malloc_limit_mb just above it
# turns any single allocation that budget did not count into a finding.
# What a run finds stays in the build folder (build-fuzz/work/NAME) unless --grow is
# given: then each corpus is replaced by the minimized union of old and new inputs.
# Usage: fuzz.sh [--grow] [seconds per target] (default: $LYRA_FUZZ_SECONDS or 30)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
grow=0
if [ "${1:-}" = "--grow" ]; then grow=1; shift; fi
seconds=${1:-${LYRA_FUZZ_SECONDS:-30}}
dir="$root/build-fuzz"
CC=clang CXX=clang++ bash "$root/scripts/build.sh" "$dir" -DLYRA_FUZZ=ON -DLYRA_WIDGETS=OFF \
  -DLYRA_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
budget_mib=$(sed -n 's/.*kFuzzMemoryMiB = \([0-9]*\);.*/\1/p' "$root/fuzz/FuzzBudget.h")
[ -n "$budget_mib" ] || { echo "fuzz: no kFuzzMemoryMiB in fuzz/FuzzBudget.h"; exit 1; }
shopt -s nullglob
targets=("$dir"/fuzz/fuzz_*)
[ ${#targets[@]} -gt 0 ] || { echo "fuzz: no targets built"; exit 1; }

# One target: writes NAME.log and a one-line NAME.result in the build folder.
run_one() {
  local t=$1 name corpus work seeds len=() limits
  name=$(basename "$t")
  corpus="$root/fuzz/corpus/${name#fuzz_}"
  work="$dir/work/$name"
  rm -rf "$work" && mkdir -p "$work"
  # The table files repeat one record layout: short inputs reach the record code and
  # keep the corpus small; the full-file boundaries are the unit tests' part.
  case $name in fuzz_memo|fuzz_song) len=(-max_len=2048) ;; *) len=(-max_len=65536) ;; esac
  seeds="$root/fuzz/seeds/${name#fuzz_}"
  [ -d "$seeds" ] || seeds=""
  # The targets' own output (the command line's messages) is closed; libFuzzer keeps its own.
  limits=(-malloc_limit_mb=$((budget_mib + 1)) -rss_limit_mb=1024 -timeout=5 -close_fd_mask=3 "${len[@]}")
  # The processor time is kept too: on a busy machine executions per second of that
  # time say more than those per second of the clock.
  local TIMEFORMAT='%U %S'
  if { time "$t" "${limits[@]}" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$dir/$name-" \
       "$work" "$corpus" $seeds >"$dir/$name.log" 2>&1; } 2>"$dir/$name.cpu"; then
    local execs rate cpu result
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/$name.log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$dir/$name.log")
    cpu=$(awk -v n="${execs:-0}" '{ s = $1 + $2; printf "%d", (s > 0 ? n / s : 0) }' "$dir/$name.cpu")
    result="fuzz: $name ok (${execs:-?} executions, ${rate:-?}/s, $cpu per processor second, $(ls "$work" | wc -l) new inputs"
    if [ $grow -eq 1 ]; then
      # Keep only the inputs that add coverage, old and new together.
      local fresh="$dir/fresh/$name"
      rm -rf "$fresh" && mkdir -p "$fresh"
      "$t" "${limits[@]}" -merge=1 "$fresh" "$corpus" "$work" >"$dir/$name.merge.log" 2>&1 || true
      if [ -n "$(ls -A "$fresh")" ]; then rm -rf "$corpus" && mv "$fresh" "$corpus"; fi
      result="$result; corpus now $(ls "$corpus" | wc -l) files"
    fi
    echo "$result)" >"$dir/$name.result"
  else
    echo "fuzz: $name FAILED (see $dir/$name.log)" >"$dir/$name.result"
  fi
}
export -f run_one
export root dir grow seconds budget_mib
rm -f "$dir"/*.result
printf '%s\n' "${targets[@]}" | xargs -P "$(nproc)" -I{} bash -c 'run_one "$1"' _ {}

failed=0
for t in "${targets[@]}"; do
  name=$(basename "$t")
  cat "$dir/$name.result"
  if grep -q FAILED "$dir/$name.result"; then tail -40 "$dir/$name.log"; failed=$((failed + 1)); fi
done
echo "fuzz: ${#targets[@]} targets run for ${seconds} s each, $failed failed"
[ $failed -eq 0 ]
