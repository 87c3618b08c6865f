#!/usr/bin/env bash
# Installs the dependencies and the readers, builds quorv with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the whole test suite: unit and byte tests, and the
# interoperability tests in which LibreOffice, Calligra Stage and Apache POI open the files we
# write. Then the concurrency test under ThreadSanitizer, and a short run of the fuzz target.
# Arguments are passed to ctest (e.g. -L unit).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DQUORV_SANITIZE=address,undefined
cmake --build build/asan -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/asan --output-on-failure -j"$(nproc)" "$@"

echo "== concurrency under ThreadSanitizer"
cmake -S . -B build/tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORV_SANITIZE=thread -DQUORV_BUILD_TOOLS=OFF
cmake --build build/tsan --target test_concurrency -j"$(nproc)"
TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/test_concurrency

echo "== fuzzing for ${QUORV_FUZZ_SECONDS:-30} seconds"
scripts/fuzz.sh "${QUORV_FUZZ_SECONDS:-30}"
