#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the window-model fuzzer (target engine_fuzzer) with clang's libFuzzer and runs it from
# the seed corpus for a bounded time.
#
#   tests/fuzz/run-fuzzer.sh [SECONDS]       default 60
#
# Environment:
#   TAVORO_FUZZ_BUILD  build folder (default <repo>/build-fuzz); the corpus the fuzzer grows is
#                      kept there in fuzz-corpus/, so later runs continue from it
#   TAVORO_FUZZ_JOBS   parallel build jobs (default 2)
#   TAVORO_FUZZ_ARGS   more libFuzzer options, e.g. "-runs=10000000"
#
# Exit status: 0 when the run found nothing, or when this machine cannot build a libFuzzer target
# (the output then says "skipped"); 1 when the fuzzer found an input that breaks the calculator
# (the input is kept in fuzz-artifacts/ of the build folder) or was stopped before its time;
# 2 when the build fails.
set -eu

seconds=${1:-60}
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=${TAVORO_FUZZ_BUILD:-$repo/build-fuzz}
jobs=${TAVORO_FUZZ_JOBS:-2}

if ! command -v clang++ >/dev/null 2>&1 || ! command -v clang >/dev/null 2>&1; then
    echo "run-fuzzer: skipped: clang is not installed"
    exit 0
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' >"$probe/probe.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" >/dev/null 2>&1; then
    echo "run-fuzzer: skipped: clang++ cannot link a libFuzzer target here"
    exit 0
fi

if ! cmake -S "$repo" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVORO_FUZZ=ON -DTAVORO_GUI=OFF >"$probe/configure.log" 2>&1 \
    || ! nice cmake --build "$build" --target engine_fuzzer -j "$jobs" >"$probe/build.log" 2>&1; then
    cat "$probe/configure.log" "$probe/build.log" 2>/dev/null || true
    echo "run-fuzzer: the fuzzer did not build"
    exit 2
fi

corpus=$build/fuzz-corpus
artifacts=$build/fuzz-artifacts
log=$build/fuzz.log
mkdir -p "$corpus" "$artifacts"

# Speed over report detail: no allocation stacks, no fill of new memory, a small quarantine. They
# make the run several times faster; a finding is replayed below with the full defaults.
fast_asan=malloc_context_size=0:max_malloc_fill_size=0:quarantine_size_mb=16

# -max_len=32: one byte can type a run of 32 digits (see presschecker.h), so 32 bytes reach the
# edges of the double range while keeping each input, and so each execution, short.
echo "run-fuzzer: fuzzing for $seconds s (log: $log)"
set +e
# shellcheck disable=SC2086 # TAVORO_FUZZ_ARGS is a list of options
ASAN_OPTIONS=${ASAN_OPTIONS:-$fast_asan} nice "$build/tests/fuzz/engine_fuzzer" \
    -max_total_time="$seconds" -max_len=32 -timeout=30 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" ${TAVORO_FUZZ_ARGS:-} "$corpus" "$here/corpus" >"$log" 2>&1
status=$?
set -e

runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
findings=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log")
if [ "$status" -ne 0 ] && [ -z "$findings" ]; then
    tail -n 20 "$log"
    echo "run-fuzzer: the fuzzer stopped with status $status after ${runs:-?} executions, without a finding"
    exit 1
fi
if [ "$status" -ne 0 ]; then
    tail -n 40 "$log"
    for input in $findings; do
        echo "run-fuzzer: replaying $input with full sanitizer reports:"
        "$build/tests/fuzz/engine_fuzzer" "$input" 2>&1 | tail -n 40 || true
        echo "run-fuzzer: FINDING: $input"
        echo "  Keep it as a regression test: copy it to tests/fuzz/regressions/ under a name that says"
        echo "  what broke; engine_robustness_tests replays every file there."
    done
    echo "run-fuzzer: failed after ${runs:-?} executions"
    exit 1
fi
echo "run-fuzzer: no finding in ${runs:-?} executions (${rate:-?} exec/s), corpus $(ls "$corpus" | wc -l) inputs"
