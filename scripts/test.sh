#!/usr/bin/env bash
# Builds Nimbo and runs every test twice: as an optimised build, and under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
JOBS=$(nproc 2>/dev/null || echo 2)
for preset in default asan; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$JOBS"
  echo "== $preset tests"
  ctest --preset "$preset" -j "$JOBS"
done
