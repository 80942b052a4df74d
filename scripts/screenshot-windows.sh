#!/usr/bin/env bash
# Takes a screenshot of the Windows host program (tools/wine-host) under Wine
# on a virtual display: it loads Nimbo.dll, opens the sample project and
# types a call to a known function, and the function tip shows. Writes
# docs/windows-screenshot.png. Needs a Windows build (scripts/test-windows.sh
# makes one in build/win32), Xvfb and ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${NIMBO_WIN32_BUILD:-build/win32}
OUT=${1:-docs/windows-screenshot.png}
source scripts/wine-prefix.sh
cmake --build "$BUILD" --target nimbo-wine-host Nimbo >/dev/null
mkdir -p "$(dirname "$OUT")"
OUT_ABS=$(realpath "$OUT")
xvfb-run -a -s "-screen 0 860x640x24" bash -c '
  cd "$1/bin"
  wine nimbo-wine-host.exe 20 > host.log 2>&1 &
  host=$!
  # Wait for the typing to finish (the host prints a line), then let the
  # tip paint.
  for _ in $(seq 1 90); do
    grep -q "^typed" host.log 2>/dev/null && break
    sleep 1
  done
  sleep 2
  import -window root "$2"
  wait "$host" || true
  cat host.log
' _ "$BUILD" "$OUT_ABS"
echo "wrote $OUT"
