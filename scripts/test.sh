#!/usr/bin/env bash
# The test command: installs what is missing, builds and runs the tests.
#   1. the normal build: core tests (GoogleTest), window tests (QtTest, offscreen) and
#      the replay of every fuzz target's committed corpus;
#   2. the core tests and corpus replays again under AddressSanitizer and UndefinedBehaviorSanitizer;
#      the core benchmarks are built there too (not run), so they cannot fall behind the code.
# It changes nothing outside the build folders: no package is installed, no file of the
# checkout is written (the screenshots go to build/screenshots; scripts/update-screenshots.sh
# copies the README's into docs/). The package check and the fuzzing are CI's further steps
# (.ci/run), scripts/package-check.sh and scripts/fuzz.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"

echo "== build and test"
bash "$root/scripts/build.sh" "$root/build"
(cd "$root/build" && ctest --output-on-failure -j "$(nproc)" --timeout 300)

echo "== core tests under ASan and UBSan"
bash "$root/scripts/build.sh" "$root/build-asan" -DLYRA_SANITIZE=ON -DLYRA_WIDGETS=OFF -DLYRA_BENCH=ON -DCMAKE_BUILD_TYPE=Debug
(cd "$root/build-asan" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$(nproc)" --timeout 600)
