#!/usr/bin/env bash
# The VS Code extension in a real VS Code: code-server (pinned in
# editors/vscode/e2e/package-lock.json) on 127.0.0.1 without authentication,
# driven through Debian's Chromium by playwright-core (no browser download).
# It installs the given .vsix, opens a copy of samples/project and checks
# in the editor's own UI what a user sees (editors/vscode/e2e/run.js).
# Screenshots and logs go to build/vscode-e2e/.
#
# code-server's install steps fetch a ripgrep binary from outside the npm
# registry: the packages are installed without their scripts, the native
# modules are built here (libkrb5-dev), and Debian's rg takes the place of
# the download. This is done once per lock file (a stamp records it).
#
# Usage: scripts/vscode-e2e.sh VSIX
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
VSIX=${1:?usage: scripts/vscode-e2e.sh VSIX}
E2E=editors/vscode/e2e
OUT=${NIMBO_VSCODE_E2E_OUT:-build/vscode-e2e}
for tool in chromium rg node npm; do
  command -v "$tool" >/dev/null || { echo "vscode-e2e.sh: $tool not found (scripts/setup.sh --test installs it)" >&2; exit 2; }
done
[ -f "$VSIX" ] || { echo "vscode-e2e.sh: $VSIX: no such file" >&2; exit 2; }

STAMP=$E2E/node_modules/.nimbo-installed
WANT=$(cat "$E2E/package-lock.json" <(node --version) | sha256sum | cut -d' ' -f1)
if [ "$(cat "$STAMP" 2>/dev/null)" != "$WANT" ]; then
  echo "== code-server: npm ci (once per lock file; builds native modules)"
  (cd "$E2E" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
  (cd "$E2E" && npm rebuild argon2 --no-audit --loglevel=error >/dev/null)
  VSCODE=$E2E/node_modules/code-server/lib/vscode
  # What code-server's own postinstall does, less the downloads: VS Code's
  # dependencies as its shrinkwrap pins them, its native modules built here.
  (cd "$VSCODE" && npm install --omit=dev --ignore-scripts --no-audit --no-fund --loglevel=error)
  (cd "$VSCODE" && npm rebuild @parcel/watcher @vscode/spdlog kerberos native-watchdog @vscode/deviceid \
     --no-audit --loglevel=error >/dev/null)
  # node-pty's install builds it; its postinstall then asks npx for another
  # node-gyp only to write compile_commands.json, so the build is run alone.
  # Node's headers are those of the node that runs it (node-gyp would
  # download them otherwise).
  NODE_GYP=$(dirname "$(readlink -f "$(command -v npm)")")/../node_modules/node-gyp/bin/node-gyp.js
  NODE_DIR=$(dirname "$(dirname "$(readlink -f "$(command -v node)")")")
  (cd "$VSCODE/node_modules/node-pty" && node "$NODE_GYP" rebuild --nodedir="$NODE_DIR" >"$ROOT/$E2E/node-pty.log" 2>&1) ||
    { echo "vscode-e2e.sh: node-pty: the native build failed (see $E2E/node-pty.log)" >&2; exit 1; }
  mkdir -p "$VSCODE/node_modules/@vscode/ripgrep/bin"
  ln -sfn "$(command -v rg)" "$VSCODE/node_modules/@vscode/ripgrep/bin/rg"
  ln -sfn node_modules "$VSCODE/node_modules.asar"
  ln -sfn code-linux.sh "$VSCODE/bin/remote-cli/code-server"
  ln -sfn browser-linux.sh "$VSCODE/bin/helpers/browser.sh"
  (cd "$VSCODE/extensions" && npm install --omit=dev --ignore-scripts --no-audit --no-fund --loglevel=error)
  echo "$WANT" >"$STAMP"
fi

# A .vsix that carries the Windows server is also started with it, under
# Wine, where Wine is installed (its prefix as the Windows tests use it)
# (scripts/vscode.sh bundles it when build/win32 has it).
if command -v wine >/dev/null && [ -f "${NIMBO_WIN32_BUILD:-build/win32}/bin/nimbo.exe" ]; then
  source scripts/wine-prefix.sh
fi

mkdir -p "$OUT"
node "$E2E/run.js" --vsix "$(readlink -f "$VSIX")" --samples "$ROOT/samples/project" --out "$(readlink -f "$OUT")"
