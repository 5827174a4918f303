#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Tavoro and runs every test: the normal build with all tests (the Windows programs
# cross-built and checked under Wine among them), the same tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the window-model fuzzer for a bounded time.
# Installs missing Debian packages first. Build trees: build/ and build-asan/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh test
jobs=$(nproc)
# A test that hangs fails after 10 minutes, with its output, instead of holding the run up; the
# slow ones set a TIMEOUT of their own.
timeout=600

echo "== Build and test"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVORO_WERROR=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure --timeout "$timeout" -j"$jobs"

echo "== Build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
# The Wine checks ran in the normal build; the Windows programs take no sanitizer flags.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTAVORO_WERROR=ON -DTAVORO_SANITIZE=ON -DTAVORO_WINE_TESTS=OFF
cmake --build build-asan -j"$jobs"
# intercept_tls_get_addr=0: GCC 12's sanitizer runtime mistakes a block of a library's thread-local
# storage for the header of glibc versions before 2.25 and reads outside it, so the leak check at a
# program's exit sometimes dies ("Tracer caught signal 11") with a threaded program such as a Qt
# one talking to a screen reader. Leaks are still found and still fatal.
ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure --timeout "$timeout" -j"$jobs"

if [[ -x tests/fuzz/run-fuzzer.sh ]]; then
  echo "== Fuzz the window model and the engine"
  tests/fuzz/run-fuzzer.sh "${TAVORO_FUZZ_SECONDS:-60}"
fi
