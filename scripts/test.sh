#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#   1. the normal build: core tests (GoogleTest) and window tests (QtTest, offscreen);
#   2. the core tests again under AddressSanitizer and UndefinedBehaviorSanitizer;
#   3. the Debian package: built, installed, checked as installed, removed;
#   4. every fuzz target for a bounded time ($LYRA_FUZZ_SECONDS, default 30), each growing its corpus in fuzz/corpus.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"

echo "== build and test"
bash "$root/scripts/build.sh" "$root/build"
(cd "$root/build" && ctest --output-on-failure -j "$(nproc)" --timeout 300)

echo "== core tests under ASan and UBSan"
bash "$root/scripts/build.sh" "$root/build-asan" -DLYRA_SANITIZE=ON -DLYRA_WIDGETS=OFF -DLYRA_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
(cd "$root/build-asan" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$(nproc)" --timeout 600)

echo "== package"
bash "$root/scripts/package-check.sh" "$root/build"

echo "== fuzz"
bash "$root/scripts/fuzz.sh"
