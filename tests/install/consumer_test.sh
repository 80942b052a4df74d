#!/usr/bin/env bash
# Installs the build into a scratch prefix, builds the consumer project
# against that tree once through find_package and once through pkg-config,
# and runs both on the bundled samples.
# Usage: consumer_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 source=$2
scratch=$(mktemp -d /tmp/nimbo-consumer-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(dirname "$(find "$prefix" -name 'libNimbo.so.*' -print -quit)")

consumer=$source/tests/install/consumer
cmake -S "$consumer" -B "$scratch/by-cmake" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$scratch/by-cmake" >/dev/null
export PKG_CONFIG_PATH=$libdir/pkgconfig
# shellcheck disable=SC2046  # the flags are words
c++ -o "$scratch/by-pkg-config" "$consumer/main.cpp" $(pkg-config --cflags --libs nimbo)

expected="StrLeft: StrLeft(szText, nCount)
built-in: 135
project: 13"
for program in "$scratch/by-cmake/consumer" "$scratch/by-pkg-config"; do
  actual=$(LD_LIBRARY_PATH=$libdir "$program" "$source/samples/Programs" "$source/samples/project")
  if [ "$actual" != "$expected" ]; then
    printf 'consumer_test: %s printed\n%s\ninstead of\n%s\n' "$program" "$actual" "$expected" >&2
    exit 1
  fi
done
