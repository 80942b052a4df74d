#!/usr/bin/env bash
# Builds the benchmarks (Release, -O2, the same compiler for Nimbo and the
# peers compiled from source), runs the whole set of rows in several rounds
# and writes BENCHMARKS.md from them.
#
# Each round runs every row three times, all repetitions of all rows in a
# random order of their own, then probes the peak memory of each INI reader
# (one process per reader and input, also in random order). A row's figure
# in a round is the median of its three repetitions; ratios are taken within
# a round and reported as the median over the rounds with their range
# (bench/MakeReport.py), so that a burst of load on a shared machine moves
# one repetition or one round, not the result.
#
# Usage: scripts/bench.sh [rounds, default 5] [rows]
# Inputs are generated once into $NIMBO_BENCH_DATA (default build/bench/data).
#
# With rows (a regular expression, as Google Benchmark's --benchmark_filter),
# only the nimbo_bench rows it matches run, and the memory probes whose name
# it matches ("peak" for the readers' peak memory, "getpeak" for that of
# nimbo ini get and git config --get, "threads" for strings across threads),
# in the same rounds and order as in a full run; the table
# of those rows goes to build/bench/run/partial.md, and BENCHMARKS.md is left
# as it is. E.g. scripts/bench.sh 5 'Headers|Records|threads'.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --test --bench

ROUNDS=${1:-5}
ROWS=${2:-}
# Whether a run of some rows includes the memory probe of that name.
probe() { [[ -z "$ROWS" ]] || grep -Eq -- "$ROWS" <<<"$1"; }
BUILD=build/bench
RUN=$BUILD/run
export NIMBO_BENCH_DATA=${NIMBO_BENCH_DATA:-$PWD/$BUILD/data}
mkdir -p "$NIMBO_BENCH_DATA"

for tool in ctags python3 shuf; do
  command -v "$tool" >/dev/null || { echo "bench.sh needs $tool" >&2; exit 2; }
done

cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release \
  "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" "-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG" \
  -DNIMBO_BUILD_BENCH=ON >/dev/null
TARGETS=(nimbo_bench nimbo_bench_rss)
[[ -z "$ROWS" ]] && TARGETS+=(nimbo_bench_lsp nimbo_bench_lsp_memory)
cmake --build "$BUILD" -j "${BENCH_JOBS:-2}" --target "${TARGETS[@]}"

rm -rf "$RUN"
mkdir -p "$RUN"
for round in $(seq 1 "$ROUNDS"); do
  echo "== round $round of $ROUNDS"
  "$BUILD/bench/nimbo_bench" --benchmark_repetitions=3 --benchmark_enable_random_interleaving=true \
    ${ROWS:+"--benchmark_filter=$ROWS"} \
    --benchmark_out="$RUN/round-$round.json" --benchmark_out_format=json >"$RUN/round-$round.log"
  if [[ -z "$ROWS" ]]; then
    "$BUILD/bench/nimbo_bench_lsp" --benchmark_out="$RUN/lsp-$round.json" --benchmark_out_format=json >"$RUN/lsp-$round.log"
    for side in catalogue server; do "$BUILD/bench/nimbo_bench_lsp_memory" "$side"; done >"$RUN/lsp-memory-$round.txt"
  fi
  # Peak memory: "none" is the empty process.
  if probe peak; then
    for input in ini_100mb_10keys.ini ini_100mb_1000keys.ini; do
      for reader in none nimbo simpleini inireader inih; do echo "$input $reader"; done
    done | shuf | while read -r input reader; do
      echo "$input $("$BUILD/bench/nimbo_bench_rss" "$reader" "$NIMBO_BENCH_DATA/$input")"
    done >"$RUN/rss-$round.txt"
  fi
  # Peak memory of nimbo ini get and git config --get on the same file.
  if probe getpeak; then
    for reader in nimbo-get git-get; do echo "$reader"; done | shuf | while read -r reader; do
      echo "ini_100mb_gitstyle.ini $("$BUILD/bench/nimbo_bench_rss" "$reader" "$NIMBO_BENCH_DATA/ini_100mb_gitstyle.ini")"
    done >>"$RUN/rss-$round.txt"
  fi
  # Resident memory of strings made on one thread and freed on another.
  if probe threads; then "$BUILD/bench/nimbo_bench_rss" threads 20000000 >"$RUN/threads-$round.txt"; fi
done

{
  echo "date: $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//') ($(nproc) cores)"
  echo "memory: $(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
  echo "system: $(uname -sr)"
  echo "compiler: $(c++ --version | head -n1)"
  echo "ctags: $(ctags --version | head -n1)"
  echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
} >"$RUN/machine.txt"

if [[ -n "$ROWS" ]]; then
  python3 bench/MakeReport.py "$RUN" "$RUN/machine.txt" --partial >"$RUN/partial.md"
  cat "$RUN/partial.md"
  echo "wrote $RUN/partial.md (BENCHMARKS.md unchanged)"
  exit 0
fi
python3 bench/MakeReport.py "$RUN" "$RUN/machine.txt" >BENCHMARKS.md.new
python3 bench/LspReport.py "$RUN"/lsp-*.json "$RUN"/lsp-memory-*.txt >>BENCHMARKS.md.new
mv BENCHMARKS.md.new BENCHMARKS.md
echo "wrote BENCHMARKS.md"
