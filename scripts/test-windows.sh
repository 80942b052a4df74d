#!/usr/bin/env bash
# Builds the 32-bit Windows target (Nimbo.dll, nimbo.exe and the tests) with
# the MinGW-w64 cross-compiler, runs the test suites under Wine on a virtual
# display (the language server's golden cases against nimbo.exe among them),
# prints how many test cases ran, then makes the Windows zip (cpack) and
# tests it in a fresh Wine prefix (scripts/test-windows-package.sh).
# Installs nothing: it needs the packages g++-mingw-w64-i686, wine,
# wine32:i386, xvfb, googletest, libcli11-dev, nlohmann-json3-dev and Node.js
# (see docs/windows.md).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${NIMBO_WIN32_BUILD:-build/win32}
JOBS=$(nproc 2>/dev/null || echo 2)

echo "== Windows build ($BUILD)"
cmake --no-warn-unused-cli -S . -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw32.cmake -DNIMBO_PLATFORM_SIDE=win32 \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j "$JOBS"

echo "== Wine prefix"
source scripts/wine-prefix.sh

echo "== Windows tests under Wine"
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$BUILD" --output-on-failure -V >"$BUILD/ctest.log" 2>&1 || status=$?
grep -E "^ *[0-9]+/[0-9]+ Test +#|tests passed|tests failed" "$BUILD/ctest.log" || true
passed=$(grep -Eo "\[  PASSED  \] [0-9]+ test" "$BUILD/ctest.log" | awk '{s += $4} END {print s + 0}')
failed=$(grep -Ec "^[0-9]+: \[  FAILED  \] [A-Za-z0-9_]+\.[A-Za-z0-9_]+ \(" "$BUILD/ctest.log" || true)
# The process runner's cases (lsp_cases_exe) end with "N passed, N failed".
passed=$((passed + $(grep -Eo "^[0-9]+: [0-9]+ passed, [0-9]+ failed" "$BUILD/ctest.log" | awk '{s += $2} END {print s + 0}')))
failed=$((failed + $(grep -Eo "^[0-9]+: [0-9]+ passed, [0-9]+ failed" "$BUILD/ctest.log" | awk '{s += $4} END {print s + 0}')))
echo "== $passed Windows test cases passed, $failed failed"
if [ "$status" -ne 0 ]; then
  grep -E "^[0-9]+: \[  FAILED  \]" "$BUILD/ctest.log" || true
fi
[ "$status" -eq 0 ] || exit "$status"

echo "== Windows package"
(cd "$BUILD" && cpack -G ZIP >/dev/null)
bash scripts/test-windows-package.sh
