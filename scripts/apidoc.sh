#!/usr/bin/env bash
# Builds the API reference (HTML) with Doxygen from the public headers of a
# configured build; any warning (an undocumented public class or member, a
# broken reference) fails it.
# Usage: scripts/apidoc.sh [BUILD_DIR [OUT_DIR]]   (defaults build/default, BUILD_DIR/apidoc)
set -euo pipefail
source=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$source/build/default}
out=${2:-$build/apidoc}
include=$build/include
[ -f "$include/nimbo/version.h" ] || { echo "apidoc.sh: $include holds no public headers; configure $build first" >&2; exit 1; }
mkdir -p "$out"
version=$(sed -n 's/^#define NIMBO_VERSION_STRING "\(.*\)"$/\1/p' "$include/nimbo/version.h")
NIMBO_VERSION=$version NIMBO_APIDOC_OUT=$out NIMBO_APIDOC_INCLUDE=$include \
  NIMBO_APIDOC_MAINPAGE=$source/docs/api/mainpage.md doxygen "$source/docs/api/Doxyfile"
echo "$out/html/index.html"
