#!/usr/bin/env bash
# The VS Code extension (editors/vscode): installs its npm dependencies as
# package-lock.json pins them, runs its tests, and packages it as
# build/vscode/nimbo-<version>.vsix with vsce.
#
# The language servers are bundled when they have been built: the Linux one
# from build/default (scripts/test.sh, scripts/run.sh), the Windows one with
# its DLLs from build/win32 (scripts/test-windows.sh), each with the samples
# beside it as an installed nimbo finds them. A server that was not built is
# left out and said so; the package is still made, so that its manifest is
# checked on every run (the extension then asks for nimbo.serverPath).
#
# Usage: scripts/vscode.sh [--no-test]
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
EXT=editors/vscode
OUT=${NIMBO_VSCODE_OUT:-build/vscode}
LINUX_BIN=${NIMBO_LINUX_BUILD:-build/default}/tools/nimbo/nimbo
WIN_BIN=${NIMBO_WIN32_BUILD:-build/win32}/bin

command -v npm >/dev/null || { echo "vscode.sh: npm not found (Node.js 20 and npm are needed)" >&2; exit 2; }
echo "== VS Code extension: npm ci"
(cd "$EXT" && npm ci --no-audit --no-fund --loglevel=error)

if [ "${1:-}" != "--no-test" ]; then
  echo "== VS Code extension: tests"
  (cd "$EXT" && npm test)
fi

echo "== VS Code extension: servers"
rm -rf "$EXT/server" "$EXT/LICENSE"
mkdir -p "$EXT/server/share/nimbo"
cp -r samples "$EXT/server/share/nimbo/samples"
if [ -x "$LINUX_BIN" ]; then
  mkdir -p "$EXT/server/linux-x64"
  cp "$LINUX_BIN" "$EXT/server/linux-x64/nimbo"
  echo "linux-x64: $LINUX_BIN"
else
  echo "linux-x64: not built ($LINUX_BIN), left out"
fi
if [ -f "$WIN_BIN/nimbo.exe" ]; then
  mkdir -p "$EXT/server/win32"
  # The program and every DLL it loads from its own folder.
  cp "$WIN_BIN/nimbo.exe" "$WIN_BIN"/nimbo_*.dll "$WIN_BIN"/lib*.dll "$EXT/server/win32/"
  echo "win32: $WIN_BIN/nimbo.exe"
else
  echo "win32: not built ($WIN_BIN/nimbo.exe), left out"
fi

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
