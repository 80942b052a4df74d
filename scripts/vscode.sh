#!/usr/bin/env bash
# The VS Code extension (editors/vscode): installs its npm dependencies as
# package-lock.json pins them, runs its tests, and packages it as
# build/vscode/nimbo-<version>.vsix with vsce.
#
# The language servers are bundled when they have been built: the Linux one
# from build/default (scripts/test.sh, scripts/run.sh), the Windows one from
# build/win32 (scripts/test-windows.sh). Each is staged as its build installs
# it (cmake --install: bin/, lib/, share/nimbo/samples), less what a server
# does not need (headers, import libraries, CMake and pkg-config files, the
# man page). A server that was not built is left out and said so; the
# package is still made, so that its manifest is checked on every run (the
# extension then asks for nimbo.serverPath).
#
# Then the .vsix is installed in a real VS Code and used through its UI
# (scripts/vscode-e2e.sh); --no-test leaves out both test runs.
#
# Usage: scripts/vscode.sh [--no-test]
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
EXT=editors/vscode
OUT=${NIMBO_VSCODE_OUT:-build/vscode}
LINUX_BUILD=${NIMBO_LINUX_BUILD:-build/default}
WIN_BUILD=${NIMBO_WIN32_BUILD:-build/win32}
command -v npm >/dev/null || { echo "vscode.sh: npm not found (Node.js 20 and npm are needed)" >&2; exit 2; }
echo "== VS Code extension: npm ci"
(cd "$EXT" && npm ci --no-audit --no-fund --loglevel=error)

if [ "${1:-}" != "--no-test" ]; then
  echo "== VS Code extension: tests"
  (cd "$EXT" && npm test)
fi

echo "== VS Code extension: servers"
rm -rf "$EXT/server" "$EXT/LICENSE"
# stage PLATFORM BUILD PROGRAM: the build's install tree, pruned, under server/PLATFORM.
stage() {
  local dir=$EXT/server/$1
  if [ ! -f "$2/$3" ]; then
    echo "$1: not built ($2/$3), left out"
    return
  fi
  cmake --install "$2" --prefix "$ROOT/$dir" --strip >/dev/null
  rm -rf "$dir/README.txt" "$dir/include" "$dir/share/man" "$dir/share/bash-completion" "$dir"/lib*/cmake "$dir"/lib*/pkgconfig
  find "$dir" \( -name '*.lib' -o -name '*.a' \) -delete
  # A shared library once, under the name the loader asks for (its SONAME).
  for lib in "$dir"/lib*/*.so.*.*.*; do [ -e "$lib" ] && mv -f "$lib" "${lib%.*.*}"; done
  find "$dir" -name '*.so' -type l -delete
  echo "$1: $2/$3"
}
stage linux-x64 "$LINUX_BUILD" tools/nimbo/nimbo
stage win32 "$WIN_BUILD" bin/nimbo.exe

echo "== VS Code extension: package"
LICENSE_FLAG=--skip-license
if [ -f LICENSE ]; then
  cp LICENSE "$EXT/LICENSE"
  LICENSE_FLAG=
fi
mkdir -p "$OUT"
VERSION=$(node -p "require('./$EXT/package.json').version")
VSIX="$ROOT/$OUT/nimbo-$VERSION.vsix"
(cd "$EXT" && npx --no-install vsce package --allow-missing-repository $LICENSE_FLAG --out "$VSIX" </dev/null)
echo "== $VSIX"

if [ "${1:-}" != "--no-test" ]; then
  echo "== VS Code extension: in a real VS Code"
  bash scripts/vscode-e2e.sh "$VSIX"
fi
