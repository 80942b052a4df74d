#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks it as a host developer
# meets it: one folder on the include path with nothing but nimbo/ in it,
# every installed header compiling on its own, the consumer project built
# once through find_package and once through pkg-config and run on the
# bundled samples, and the example host built and run.
# Usage: consumer_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1 source=$2 version=$3
scratch=$(mktemp -d /tmp/nimbo-consumer-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "consumer_test: $*" >&2; exit 1; }
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(dirname "$(find "$prefix" -name 'libNimbo.so.*' -print -quit)")

[ "$(ls "$prefix/include")" = nimbo ] || fail "include/ holds more than nimbo/: $(ls "$prefix/include")"
export PKG_CONFIG_PATH=$libdir/pkgconfig
[ "$(pkg-config --cflags nimbo | xargs)" = "-I$prefix/include" ] ||
  fail "pkg-config --cflags nimbo printed '$(pkg-config --cflags nimbo)'"
headers=$(cd "$prefix/include" && find nimbo -name '*.h' | sort)
[ -n "$headers" ] || fail "no header installed"
for header in $headers; do
  echo "#include <$header>" | c++ -std=c++17 -fsyntax-only -Wall -Wextra -Werror -I"$prefix/include" -x c++ - ||
    fail "$header does not compile on its own"
done

consumer=$source/tests/install/consumer
cmake -S "$consumer" -B "$scratch/by-cmake" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$scratch/by-cmake" >/dev/null
# shellcheck disable=SC2046  # the flags are words
c++ -std=c++17 -o "$scratch/by-pkg-config" "$consumer/main.cpp" $(pkg-config --cflags --libs nimbo)

for program in "$scratch/by-cmake/consumer" "$scratch/by-pkg-config"; do
  LD_LIBRARY_PATH=$libdir bash "$source/tests/install/check_consumer.sh" "$program" "$source" "$version"
done

# The example host: an editor window with the controller attached, a call
# typed into it.
LD_LIBRARY_PATH=$libdir bash "$source/tests/install/check_example.sh" "$source" "$scratch/example" \
  -DCMAKE_PREFIX_PATH="$prefix"
