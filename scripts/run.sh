#!/usr/bin/env bash
# Builds Nimbo and runs its main job on the bundled samples: the terminal
# editor when this runs on a terminal, the replayed demo session otherwise.
# Arguments are passed on (e.g. --project DIR, --programs DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# The tests need packages that the main job does not (scripts/setup.sh --test);
# a build folder that has them configured keeps them.
if [ -f build/default/CMakeCache.txt ]; then
  cmake --preset default >/dev/null
else
  cmake --preset default -DNIMBO_BUILD_TESTS=OFF >/dev/null
fi
# Only the tool and what it links; scripts/test.sh builds the tests.
cmake --build --preset default --target nimbo -j "$(nproc 2>/dev/null || echo 2)"
if [ -t 0 ] && [ -t 1 ]; then
  exec build/default/tools/nimbo/nimbo edit "$@"
else
  exec build/default/tools/nimbo/nimbo demo "$@"
fi
