#!/usr/bin/env bash
# Makes the Debian package, unpacks it into a scratch root with dpkg -x and
# runs the packaged nimbo command from there.
# Usage: package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
scratch=$(mktemp -d /tmp/nimbo-package-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "package_test: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >/dev/null 2>&1 || fail "cpack failed"
deb=$scratch/out/nimbo_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no package $deb"
[ "$(dpkg-deb --field "$deb" Version)" = "$version" ] || fail "package version is not $version"
dpkg -x "$deb" "$scratch/root"
usr=$scratch/root/usr
for file in share/man/man1/nimbo.1.gz share/bash-completion/completions/nimbo lib/pkgconfig/nimbo.pc \
            lib/cmake/Nimbo/NimboConfig.cmake include/nimbo/module/NimboInit.h; do
  [ -f "$usr/$file" ] || fail "the package lacks /usr/$file"
done
# Nothing of the test controls, the drivers or the tools' own libraries.
if dpkg-deb -c "$deb" | grep -E 'gtest|_test|SimDesktop|testctl|Harness|harness|/(tools|drivers|tests)/|nimbo_tool_|\.a$'; then
  fail "the package carries test or tool internals"
fi

# The command finds its libraries and its samples beside itself: a function
# added to the unpacked sample project shows up.
nimbo=$usr/bin/nimbo
[ "$("$nimbo" --version)" = "nimbo $version" ] || fail "nimbo --version does not print $version"
echo 'function OnlyInThePackage(nValue) { }' >>"$usr/share/nimbo/samples/project/main.nsc"
functions=$("$nimbo" functions)
grep -q '^OnlyInThePackage  *project  *OnlyInThePackage(nValue)$' <<<"$functions" ||
  fail "nimbo functions did not read the packaged samples"
printf '[Window]\nWidth=640\n' >"$scratch/settings.ini"
"$nimbo" ini set "$scratch/settings.ini" Window Height 480 --int
[ "$("$nimbo" ini get "$scratch/settings.ini" Window Height --int)" = 480 ] || fail "nimbo ini did not round-trip"
