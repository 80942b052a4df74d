#!/usr/bin/env bash
# Builds Nimbo and runs its main job on the bundled samples: the terminal
# editor when this runs on a terminal, the replayed demo session otherwise.
#
# The editor works on a copy of the sample project in a folder of the user's
# own, made on the first run and kept from then on (your edits stay there):
# $XDG_DATA_HOME/nimbo/samples/project, else ~/.local/share/nimbo/samples/project.
# The repository's samples/ are never written. Arguments are passed on
# (e.g. FILE, --programs DIR; with --project DIR that project is edited instead).
#
# Standard output carries only what the tool prints (the demo); what setting
# up and building print goes to standard error.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >&2
# The tests need packages that the main job does not (scripts/setup.sh --test);
# a build folder that has them configured keeps them.
if [ -f build/default/CMakeCache.txt ]; then
  cmake --preset default >&2
else
  cmake --preset default -DNIMBO_BUILD_TESTS=OFF >&2
fi
# Only the tool and what it links; scripts/test.sh builds the tests.
cmake --build --preset default --target nimbo -j "$(nproc 2>/dev/null || echo 2)" >&2
nimbo=build/default/tools/nimbo/nimbo

if ! { [ -t 0 ] && [ -t 1 ]; }; then
  exec "$nimbo" demo "$@"
fi
for arg in "$@"; do
  case "$arg" in --project | --project=*) exec "$nimbo" edit "$@" ;; esac
done
case "${XDG_DATA_HOME:-}" in
  /*) data_home=$XDG_DATA_HOME ;;
  *) data_home="${HOME:?HOME is not set}/.local/share" ;;
esac
copy="$data_home/nimbo/samples/project"
if [ ! -d "$copy" ]; then
  mkdir -p "$(dirname "$copy")"
  # Copied whole before it takes its name: an interrupted copy is not taken for one.
  rm -rf "$copy.partial"
  cp -R samples/project "$copy.partial"
  mv "$copy.partial" "$copy"
  echo "Your own copy of the sample project is made: $copy"
fi
status=0
"$nimbo" edit --project "$copy" "$@" || status=$?
echo "Your copy of the sample project is $copy (the repository's samples/ are never changed)."
exit "$status"
