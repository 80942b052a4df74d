#!/usr/bin/env bash
# Builds the consumer project with Nimbo as a subproject, once through
# add_subdirectory and once through FetchContent from an archive of the
# sources, and runs it. A host's build gets the library and nothing of
# Nimbo's tests or tools, and its include path holds no folder of Nimbo's
# sources.
# Usage: subproject_test.sh SOURCE_DIR VERSION
set -euo pipefail
source=$1 version=$2
scratch=$(mktemp -d /tmp/nimbo-subproject-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "subproject_test: $*" >&2; exit 1; }
bash "$source/scripts/source-tar.sh" nimbo >"$scratch/nimbo.tar"
tar -xf "$scratch/nimbo.tar" -C "$scratch"
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR=$scratch CCACHE_NOHASHDIR=1
fi

for way in add_subdirectory FetchContent; do
  build=$scratch/$way
  if [ "$way" = FetchContent ]; then
    option=-DNIMBO_URL=file://$scratch/nimbo.tar
  else
    option=-DNIMBO_SOURCE=$scratch/nimbo
  fi
  cmake -S "$source/tests/install/subproject" -B "$build" "$option" >"$scratch/configure.log" 2>&1 ||
    { cat "$scratch/configure.log" >&2; fail "$way: the host's build does not configure"; }
  targets=$(cmake --build "$build" --target help)
  if grep -E '_tests|nimbo_harness|nimbo_testctl|^\.\.\. nimbo$|bench|fuzz' <<<"$targets"; then
    fail "$way: the host's build carries Nimbo's own targets above"
  fi
  cmake --build "$build" -j "${NIMBO_JOBS:-2}" >"$scratch/build.log" 2>&1 ||
    { tail -30 "$scratch/build.log" >&2; fail "$way: the host's build fails"; }
  command=$(grep -o '"command": "[^"]*main\.cpp[^"]*"' "$build/compile_commands.json")
  if grep -Eo -- "-I[^ ]*/(platform|host)(/[a-z0-9]+)?( |\")" <<<"$command"; then
    fail "$way: the consumer's include path holds the source folders above"
  fi
  bash "$source/tests/install/check_consumer.sh" "$build/consumer" "$source" "$version"
done
