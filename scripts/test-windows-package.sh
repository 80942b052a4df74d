#!/usr/bin/env bash
# Tests the Windows package as a user meets it: unpacks the zip (argument, or
# the one cpack made in build/win32) into a scratch folder named as a user's
# profile may be, with letters outside ASCII, makes a fresh
# Wine prefix that has seen no build, and from the unpacked folder runs
# nimbo.exe --version, nimbo.exe functions on the packaged samples and one
# language-server session (a golden case of tests/tools/lsp/cases).
# Needs wine, xvfb-run and node; called by scripts/test-windows.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=${NIMBO_WIN32_BUILD:-build/win32}
VERSION=$(sed -n 's/^project(Nimbo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
ZIP=${1:-$BUILD/nimbo-$VERSION-win32.zip}
[ -f "$ZIP" ] || { echo "test-windows-package.sh: $ZIP: no such file" >&2; exit 2; }
ZIP=$(realpath "$ZIP")

SCRATCH=$(mktemp -d /tmp/nimbo-package-XXXXXX)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$SCRATCH"' EXIT
# Wine reads Unix file names and arguments in the locale's character set:
# UTF-8, so that the folder below arrives whole.
export WINEPREFIX=$SCRATCH/prefix WINEARCH=win32 WINEDEBUG=-all LC_ALL=C.UTF-8
# Unpacked where a user's own folders lie (VS Code installs an extension's
# server under the user's profile), under a name with letters of more than
# one code page.
HOME_DIR="$SCRATCH/Users/José Łódź 日本"
mkdir -p "$HOME_DIR"
(cd "$HOME_DIR" && cmake -E tar xf "$ZIP")
TOP=$HOME_DIR/nimbo-$VERSION-win32
EXE=$TOP/bin/nimbo.exe
echo "== fresh Wine prefix for $ZIP"
xvfb-run -a wineboot -i >/dev/null 2>&1 || true

passed=0
failed=0
check() {  # check NAME COMMAND...: the command's status decides
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1)); echo "ok $name"
  else
    failed=$((failed + 1)); echo "FAILED $name"
  fi
}
has_file() { [ -f "$TOP/$1" ] || { echo "missing: $1"; return 1; }; }
for file in bin/Nimbo.dll lib/Nimbo.lib bin/nimbo.exe bin/libstdc++-6.dll bin/libgcc_s_dw2-1.dll \
            bin/libwinpthread-1.dll include/nimbo/module/NimboInit.h share/nimbo/samples/Programs/funcwiz.ini \
            README.txt; do
  check "zip holds $file" has_file "$file"
done
if [ -f LICENSE ]; then check "zip holds LICENSE.txt" has_file LICENSE.txt; fi

version() { [ "$(cd "$TOP/bin" && wine nimbo.exe --version | tr -d '\r')" = "nimbo $VERSION" ]; }
check "nimbo.exe --version" version
# The packaged samples: built-in functions from their funcwiz.ini and the
# sample project's own (Main, in main.nsc). A script added to the unpacked
# project shows that these are the samples read, not the source tree's.
printf 'function OnlyInThePackage(x) { }\r\n' >"$TOP/share/nimbo/samples/project/package.nsc"
functions() {
  local out
  out=$(cd "$SCRATCH" && xvfb-run -a wine "$EXE" functions | tr -d '\r')
  grep -Eq '^StrLeft +built-in +StrLeft\(' <<<"$out" && grep -Eq '^Main +project +Main\(\)' <<<"$out" &&
    grep -Eq '^OnlyInThePackage +project +OnlyInThePackage\(x\)' <<<"$out" || { echo "$out" | head -20; return 1; }
}
check "nimbo.exe functions on the packaged samples" functions
lsp() { node "$ROOT/tests/tools/lsp/process/run-cases.js" --wine --case features -- wine "$EXE" lsp --stdio; }
check "nimbo.exe lsp session" lsp

echo "Windows package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
