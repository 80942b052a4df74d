#!/usr/bin/env bash
# Builds the Debian packages (scripts/package.sh), has lintian check them,
# installs the three as a user does, builds the consumer project against
# /usr through the CMake package and through pkg-config and the example host,
# runs them and the installed nimbo command, then purges the packages and checks that nothing
# of them is left.
# Usage: package_test.sh SOURCE_DIR VERSION
set -euo pipefail
source=$1 version=$2
packages=(libnimbo1 libnimbo-dev nimbo)
scratch=$(mktemp -d /tmp/nimbo-package-XXXXXX)
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
apt_get() { DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=600 -y -q "$@" >"$scratch/apt.log" 2>&1 ||
              { cat "$scratch/apt.log" >&2; return 1; }; }
installed() { dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null | grep -q '^[ih]'; }
cleanup() {
  local left=()
  for package in "${packages[@]}"; do installed "$package" && left+=("$package"); done
  [ ${#left[@]} -eq 0 ] || apt_get purge "${left[@]}" || true
  rm -rf "$scratch"
}
fail() { echo "package_test: $*" >&2; exit 1; }

for package in "${packages[@]}"; do
  if installed "$package"; then
    fail "$package is installed on this machine already; this test installs and purges it"
  fi
done
trap cleanup EXIT

if [ -n "${NIMBO_DEBS:-}" ]; then  # packages built already (scripts/package.sh)
  mkdir -p "$scratch/debs" && cp "$NIMBO_DEBS"/*.deb "$scratch/debs/"
else
  bash "$source/scripts/package.sh" "$scratch/debs" >/dev/null
fi
arch=$(dpkg --print-architecture)
for package in "${packages[@]}"; do
  deb=$scratch/debs/${package}_${version}_$arch.deb
  [ -f "$deb" ] || fail "no package $deb"
  [ "$(dpkg-deb --field "$deb" Version)" = "$version" ] || fail "$package's version is not $version"
  dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$scratch/$package.files"
done

# lintian: no error and no warning (an accepted one would carry an override
# with its reason in debian/).
lintian --fail-on error,warning --display-level '>=warning' "$scratch"/debs/*.deb 2>&1 |
  grep -v 'running with root privileges' >&2 && fail "lintian reported the above" || true
lintian --fail-on error,warning "$scratch"/debs/*.deb >/dev/null 2>&1 || fail "lintian failed"

# Each package holds its share: the libraries by their SONAMEs, the
# development files, the command; none holds tests, tools' libraries or
# another package's files.
multiarch=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)
expect() { grep -qx "$2" "$scratch/$1.files" || fail "$1 lacks $2"; }
for lib in libNimbo libnimbo_platform libnimbo_host; do
  expect libnimbo1 "$multiarch/$lib.so.$version"
  expect libnimbo-dev "$multiarch/$lib.so"
done
expect libnimbo-dev /usr/include/nimbo/catalog/CZoFuncInfoStd.h
expect libnimbo-dev /usr/include/nimbo/version.h
expect libnimbo-dev "$multiarch/cmake/Nimbo/NimboConfig.cmake"
expect libnimbo-dev "$multiarch/pkgconfig/nimbo.pc"
expect nimbo /usr/bin/nimbo
expect nimbo /usr/share/man/man1/nimbo.1.gz
expect nimbo /usr/share/bash-completion/completions/nimbo
expect nimbo /usr/share/nimbo/samples/Programs/funcwiz.ini
for package in "${packages[@]}"; do
  expect "$package" "/usr/share/doc/$package/copyright"
  expect "$package" "/usr/share/doc/$package/changelog.gz"
  if grep -E 'gtest|_test|SimDesktop|testctl|[Hh]arness|nimbo_tool_|\.a$|/usr/include/[^n]' "$scratch/$package.files"; then
    fail "$package carries the files above, which are no part of it"
  fi
done
[ "$(dpkg-deb --field "$scratch/debs/nimbo_${version}_$arch.deb" Recommends)" = bash-completion ] ||
  fail "nimbo does not recommend bash-completion"

# Installed as a user installs them.
apt_get install --no-install-recommends "$scratch"/debs/{libnimbo1,libnimbo-dev,nimbo}_"${version}"_"$arch".deb
consumer=$source/tests/install/consumer
cmake -S "$consumer" -B "$scratch/by-cmake" >/dev/null
cmake --build "$scratch/by-cmake" >/dev/null
# shellcheck disable=SC2046  # the flags are words
c++ -std=c++17 -o "$scratch/by-pkg-config" "$consumer/main.cpp" $(pkg-config --cflags --libs nimbo)
for program in "$scratch/by-cmake/consumer" "$scratch/by-pkg-config"; do
  bash "$source/tests/install/check_consumer.sh" "$program" "$source" "$version"
done
bash "$source/tests/install/check_example.sh" "$source" "$scratch/example"
[ "$(nimbo --version)" = "nimbo $version" ] || fail "the installed nimbo --version does not print $version"
functions=$(nimbo functions)
grep -q '^StrLeft  *built-in ' <<<"$functions" || fail "the installed nimbo did not read its samples"
printf '[Window]\nWidth=640\n' >"$scratch/settings.ini"
nimbo ini set "$scratch/settings.ini" Window Height 480 --int
[ "$(nimbo ini get "$scratch/settings.ini" Window Height --int)" = 480 ] || fail "nimbo ini did not round-trip"
man -l /usr/share/man/man1/nimbo.1.gz >/dev/null 2>&1 || fail "the man page does not render"

# Removed (not even purged), they leave nothing: no package state such as
# "deinstall ok config-files", no file.
apt_get remove "${packages[@]}"
for package in "${packages[@]}"; do
  state=$(dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null || true)
  case "$state" in ""|"un "*|"pn "*) ;; *) fail "$package is left as '$state' after removing it" ;; esac
  while read -r file; do
    [ -z "$file" ] || [ -d "$file" ] || [ ! -e "$file" ] || fail "$file is left after removing $package"
  done <"$scratch/$package.files"
done
[ ! -e /usr/include/nimbo ] || fail "/usr/include/nimbo is left after removing the packages"
