#!/usr/bin/env bash
# Copies the README's pictures of the window, which the screenshot test writes into the
# build folder, into docs/. Builds and runs that test first, so the pictures are of the
# code as it is. Usage: update-screenshots.sh [BUILD_DIR] (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
bash "$root/scripts/build.sh" "$build" >/dev/null
(cd "$build" && ctest -R '^screenshots_qtest$' --output-on-failure >/dev/null) ||
  { echo "update-screenshots: the screenshot test failed; docs/ unchanged"; exit 1; }
shopt -s nullglob
pictures=("$build"/screenshots/readme/page_*.png)
[ ${#pictures[@]} -gt 0 ] || { echo "update-screenshots: no pictures in $build/screenshots/readme"; exit 1; }
cp "${pictures[@]}" "$root/docs/"
echo "update-screenshots: ${#pictures[@]} pictures copied into docs/"
