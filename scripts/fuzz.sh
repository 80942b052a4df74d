#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (the whole tree instrumented for coverage) in
# build/fuzz, then runs each target for a bounded time.
#
# Usage: scripts/fuzz.sh [seconds per target, default 20] [target...]
# Each run starts from the seeds in fuzz/corpus/<target>/ and keeps what it
# finds in build/fuzz/corpus/<target>/; crashes land in build/fuzz/artifacts/.
# The exit status is non-zero when any target finds a fault.
set -euo pipefail
cd "$(dirname "$0")/.."

SECONDS_PER_TARGET=${1:-20}
shift || true
TARGETS=("$@")
[ ${#TARGETS[@]} -gt 0 ] || TARGETS=(fuzz_ini_text fuzz_ini_archive fuzz_script_scan fuzz_promptor fuzz_lsp)
BUILD=build/fuzz

CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DNIMBO_SANITIZE=ON -DNIMBO_FUZZ=ON -DNIMBO_BUILD_TESTS=OFF -DNIMBO_BUILD_TOOLS=OFF \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
cmake --build "$BUILD" -j "${FUZZ_JOBS:-2}" --target "${TARGETS[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$BUILD/artifacts"
status=0
for target in "${TARGETS[@]}"; do
  corpus="$BUILD/corpus/$target"
  mkdir -p "$corpus"
  echo "== $target: ${SECONDS_PER_TARGET}s"
  if ! "$BUILD/fuzz/$target" -max_total_time="$SECONDS_PER_TARGET" -max_len=4096 -timeout=10 \
       -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$BUILD/artifacts/$target-" \
       "$corpus" "fuzz/corpus/$target" 2>"$BUILD/$target.log"; then
    status=1
    tail -n 60 "$BUILD/$target.log"
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$BUILD/$target.log" || true
done
exit $status
