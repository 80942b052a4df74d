#!/usr/bin/env bash
# Lists the dynamic symbols of every library that installing the build puts
# in place and fails on a global function named as a Win32 or C runtime
# function of the posix side (as its headers declare them): such a name
# would meet a host's own function or another library's of the same name.
# Usage: symbols_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 source=$2
scratch=$(mktemp -d /tmp/nimbo-symbols-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "symbols_test: $*" >&2; exit 1; }
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null

# The side's functions: every name declared at the start of a line as
# "<type> [WINAPI] Name(...);" in its headers.
grep -hoE '^[A-Za-z_][A-Za-z0-9_ ]*[ *]+([A-Za-z_][A-Za-z0-9_]*)\(' "$source"/platform/posix/*.h |
  grep -v '^typedef' | sed -E 's/.*[ *]([A-Za-z_][A-Za-z0-9_]*)\($/\1/' | sort -u >"$scratch/win32-names"
[ "$(wc -l <"$scratch/win32-names")" -gt 100 ] || fail "found only $(wc -l <"$scratch/win32-names") names in the side's headers"
grep -qx SendMessage "$scratch/win32-names" && grep -qx _mbscmp "$scratch/win32-names" ||
  fail "the side's headers no longer declare SendMessage and _mbscmp as this test reads them"

libraries=$(find "$scratch/prefix" -name '*.so*' -type f)
[ "$(wc -w <<<"$libraries")" -eq 3 ] || fail "expected three installed libraries, found: $libraries"
status=0
for library in $libraries; do
  # Global functions outside any class or namespace, by their plain name.
  nm -D --defined-only -C "$library" | awk '$2 == "T" || $2 == "W" { $1 = ""; $2 = ""; print }' |
    sed -E 's/^ +//; s/\(.*//' | grep -v '::' | awk '{print $NF}' | sort -u >"$scratch/functions"
  clashes=$(comm -12 "$scratch/functions" "$scratch/win32-names")
  if [ -n "$clashes" ]; then
    echo "symbols_test: $(basename "$library") exports $(wc -l <<<"$clashes") functions with Win32 names:" $clashes >&2
    status=1
  fi
done
exit $status
