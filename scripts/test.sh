#!/usr/bin/env bash
# Builds Nimbo and runs every test: the optimised build, the same suites
# under AddressSanitizer and UndefinedBehaviorSanitizer, the thread suites
# under ThreadSanitizer, a short run of each
# fuzz target, and the 32-bit Windows build's suites under Wine.
# NIMBO_SKIP_WINDOWS=1 leaves the Windows part out (it needs Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${NIMBO_SKIP_WINDOWS:-0}" = 1 ]; then
  bash scripts/setup.sh --test
else
  bash scripts/setup.sh --test --windows
fi
JOBS=$(nproc 2>/dev/null || echo 2)
# Every build below (and the fuzz, Windows and package builds they start)
# compiles through ccache, with paths taken relative to the checkout, so that
# a second checkout of the same sources reuses the first one's objects.
if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
fi
for preset in default asan; do
  echo "== $preset build"
  cmake --preset "$preset" -DNIMBO_BUILD_TESTS=ON >/dev/null
  cmake --build --preset "$preset" -j "$JOBS"
  echo "== $preset tests"
  ctest --preset "$preset" -j "$JOBS"
done
# ThreadSanitizer: the suites of documents and strings that cross threads,
# and the language server's (its reader, worker and watcher threads; the
# nimbo tool its process tests start is built with the sanitizer too).
echo "== tsan build"
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$JOBS"
echo "== tsan tests"
ctest --preset tsan -j "$JOBS"
echo "== fuzz targets"
bash scripts/fuzz.sh "${NIMBO_FUZZ_SECONDS:-15}"
if [ "${NIMBO_SKIP_WINDOWS:-0}" != 1 ]; then
  bash scripts/test-windows.sh
fi
# The VS Code extension: its grammar and start-up tests, and its .vsix with
# the servers built above (scripts/vscode.sh).
echo "== VS Code extension"
bash scripts/vscode.sh
