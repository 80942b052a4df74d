#!/usr/bin/env bash
# Writes the project's files as git knows them (committed or not, ignored
# files left out) as a tar archive on standard output, under the folder
# name given.
# Usage: scripts/source-tar.sh NAME > FILE.tar
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: scripts/source-tar.sh NAME" >&2; exit 2; }
cd "$(dirname "$0")/.."
git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
  tar --null -T - --transform "s|^|$1/|" -cf -
