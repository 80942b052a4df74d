#!/usr/bin/env bash
# Builds the benchmarks (Release, -O2, the same compiler for Nimbo and the
# peers compiled from source), runs every row side by side in one run, probes
# the peak memory of each INI reader in a process of its own, and writes
# BENCHMARKS.md.
#
# Usage: scripts/bench.sh [repetitions, default 3]
# Inputs are generated once into $NIMBO_BENCH_DATA (default build/bench/data).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --bench

REPETITIONS=${1:-3}
BUILD=build/bench
export NIMBO_BENCH_DATA=${NIMBO_BENCH_DATA:-$PWD/$BUILD/data}
mkdir -p "$NIMBO_BENCH_DATA"

for tool in ctags python3; do
  command -v "$tool" >/dev/null || { echo "bench.sh needs $tool" >&2; exit 2; }
done

cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release \
  "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" "-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG" \
  -DNIMBO_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD" -j "${BENCH_JOBS:-2}" --target nimbo_bench nimbo_bench_rss

# Every row, repeated with the rows interleaved at random, so that a burst of
# load on a shared machine does not fall on one side of a comparison only.
"$BUILD/bench/nimbo_bench" --benchmark_repetitions="$REPETITIONS" \
  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=false \
  --benchmark_out="$BUILD/results.json" --benchmark_out_format=json

# Peak memory: one process per reader and input; "none" is the empty process.
: >"$BUILD/rss.txt"
for input in ini_100mb_10keys.ini ini_100mb_1000keys.ini; do
  for reader in none nimbo simpleini inireader inih; do
    for _ in 1 2; do
      echo "$input $("$BUILD/bench/nimbo_bench_rss" "$reader" "$NIMBO_BENCH_DATA/$input")" >>"$BUILD/rss.txt"
    done
  done
done

{
  echo "date: $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//') ($(nproc) cores)"
  echo "memory: $(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
  echo "system: $(uname -sr)"
  echo "compiler: $(c++ --version | head -n1)"
  echo "ctags: $(ctags --version | head -n1)"
  echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
} >"$BUILD/machine.txt"

python3 bench/MakeReport.py "$BUILD/results.json" "$BUILD/rss.txt" "$BUILD/machine.txt" >BENCHMARKS.md
echo "wrote BENCHMARKS.md"
