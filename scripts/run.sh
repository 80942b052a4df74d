#!/usr/bin/env bash
# Builds Nimbo and runs its main job on the bundled samples.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc 2>/dev/null || echo 2)"
exec build/default/tools/nimbo/nimbo functions "$@"
