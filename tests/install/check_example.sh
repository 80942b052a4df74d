#!/usr/bin/env bash
# Builds the example host (examples/editor-host) against an installed Nimbo,
# runs it on the bundled samples and compares what it prints: the built-in
# function before the caret with its prototype, and the completion list of
# every known function.
# Usage: check_example.sh SOURCE_DIR BUILD_DIR [CMAKE_ARGUMENT...]
set -euo pipefail
source=$1 build=$2
shift 2
cmake -S "$source/examples/editor-host" -B "$build" "$@" >/dev/null
cmake --build "$build" >/dev/null
actual=$("$build/editor-host" "$source/samples/Programs" "$source/samples/project")
expected="at the caret: StrLeft StrLeft(szText, nCount)
completion list: 148 functions"
if [ "$actual" != "$expected" ]; then
  printf 'check_example: the example host printed\n%s\ninstead of\n%s\n' "$actual" "$expected" >&2
  exit 1
fi
