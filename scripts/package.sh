#!/usr/bin/env bash
# Builds the Debian packages libnimbo1, libnimbo-dev and nimbo from the
# project's files (as git knows them, committed or not) with
# dpkg-buildpackage, in a copy of the tree, and puts the .deb files in OUT_DIR.
# Usage: scripts/package.sh OUT_DIR
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: scripts/package.sh OUT_DIR" >&2; exit 2; }
source=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
# One build folder at a fixed place, one packaging at a time: the compiler's
# flags name the folder (dpkg-buildflags maps it away in the debug
# information), so a cached compilation is found again only there.
scratch=/tmp/nimbo-deb-build
exec 9>/tmp/nimbo-deb-build.lock
flock 9
rm -rf "$scratch"
mkdir -p "$scratch"
trap 'rm -rf "$scratch"' EXIT

version=$(dpkg-parsechangelog -l "$source/debian/changelog" -S Version)
tree=$scratch/nimbo-$version
bash "$source/scripts/source-tar.sh" "nimbo-$version" | tar -xf - -C "$scratch"
# Compiler caching, when there is one, carries over between packagings.
if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR=$tree CCACHE_NOHASHDIR=1
fi
(cd "$tree" && DEB_BUILD_OPTIONS="nocheck noddebs parallel=${NIMBO_JOBS:-2}" dpkg-buildpackage -b -us -uc) \
  >"$scratch/build.log" 2>&1 || { tail -40 "$scratch/build.log" >&2; echo "package.sh: dpkg-buildpackage failed" >&2; exit 1; }
mv "$scratch"/*.deb "$out"/
ls "$out"/*.deb
