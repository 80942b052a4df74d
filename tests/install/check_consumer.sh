#!/usr/bin/env bash
# Runs a built consumer program on the bundled samples and compares what it
# prints with what the library promises: both catalogues filled, a built-in
# prototype found, the headers' version.
# Usage: check_consumer.sh PROGRAM SOURCE_DIR VERSION
set -euo pipefail
program=$1 source=$2 version=$3
expected="StrLeft: StrLeft(szText, nCount)
built-in: 135
project: 13
headers: $version"
actual=$("$program" "$source/samples/Programs" "$source/samples/project")
if [ "$actual" != "$expected" ]; then
  printf 'check_consumer: %s printed\n%s\ninstead of\n%s\n' "$program" "$actual" "$expected" >&2
  exit 1
fi
