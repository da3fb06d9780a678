#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time.
# Usage: fuzz.sh [seconds per target] (default: $LYRA_FUZZ_SECONDS or 45)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-${LYRA_FUZZ_SECONDS:-45}}
dir="$root/build-fuzz"
CC=clang CXX=clang++ bash "$root/scripts/build.sh" "$dir" -DLYRA_FUZZ=ON -DLYRA_WIDGETS=OFF \
  -DLYRA_TESTS=OFF -DLYRA_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
shopt -s nullglob
targets=("$dir"/fuzz/fuzz_*)
failed=0
for t in "${targets[@]}"; do
  name=$(basename "$t")
  corpus="$dir/corpus/$name"
  mkdir -p "$corpus"
  seeds="$root/fuzz/seeds/${name#fuzz_}"
  [ -d "$seeds" ] || seeds=""
  if "$t" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=0 -artifact_prefix="$dir/" \
       "$corpus" $seeds >"$dir/$name.log" 2>&1; then
    echo "fuzz: $name ok ($(grep -c '^#' "$dir/$name.log") status lines)"
  else
    echo "fuzz: $name FAILED"; tail -40 "$dir/$name.log"; failed=1
  fi
done
echo "fuzz: ${#targets[@]} targets run"
exit $failed
