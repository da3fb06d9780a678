#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time, at the
# program's own resource budget. Each target's corpus lives in the repository
# (fuzz/corpus/NAME): a run starts from it and the seeds, and leaves it minimized with
# whatever new coverage the run found, so coverage accumulates from run to run.
# Usage: fuzz.sh [seconds per target] (default: $LYRA_FUZZ_SECONDS or 30)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-${LYRA_FUZZ_SECONDS:-30}}
dir="$root/build-fuzz"
CC=clang CXX=clang++ bash "$root/scripts/build.sh" "$dir" -DLYRA_FUZZ=ON -DLYRA_WIDGETS=OFF \
  -DLYRA_TESTS=OFF -DLYRA_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
shopt -s nullglob
targets=("$dir"/fuzz/fuzz_*)
# The budget allows 1 GiB of pictures and library memory; the rest is the fuzzer's.
# The targets' own output (the command line's messages) is closed; libFuzzer keeps its own.
limits=(-rss_limit_mb=2560 -timeout=10 -max_len=65536 -close_fd_mask=3)
failed=0
for t in "${targets[@]}"; do
  name=$(basename "$t")
  corpus="$root/fuzz/corpus/${name#fuzz_}"
  work="$dir/work/$name"
  rm -rf "$work" && mkdir -p "$corpus" "$work"
  # The table files repeat one record layout: short inputs reach the record code and
  # keep the corpus small; the full-file boundaries are the unit tests' part.
  case $name in fuzz_memo|fuzz_song) len=(-max_len=2048) ;; *) len=() ;; esac
  seeds="$root/fuzz/seeds/${name#fuzz_}"
  [ -d "$seeds" ] || seeds=""
  if "$t" "${limits[@]}" "${len[@]}" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$dir/" \
       "$work" "$corpus" $seeds >"$dir/$name.log" 2>&1; then
    # Keep only the inputs that add coverage, old and new together.
    fresh="$dir/fresh/$name"
    rm -rf "$fresh" && mkdir -p "$fresh"
    "$t" "${limits[@]}" "${len[@]}" -merge=1 "$fresh" "$corpus" "$work" >"$dir/$name.merge.log" 2>&1 || true
    if [ -n "$(ls -A "$fresh")" ]; then rm -rf "$corpus" && mv "$fresh" "$corpus"; fi
    execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$dir/$name.log" | grep -o '[0-9]*$' || echo "?")
    echo "fuzz: $name ok ($execs executions, corpus $(ls "$corpus" | wc -l) files)"
  else
    echo "fuzz: $name FAILED"; tail -40 "$dir/$name.log"; failed=1
  fi
done
echo "fuzz: ${#targets[@]} targets run"
exit $failed
