#!/usr/bin/env bash
# Installs what is missing, builds the editor and starts it. Extra arguments go to the editor.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh" "$root/build" -DLYRA_BENCH=OFF
exec "$root/build/lyrabox" "$@"
