#!/usr/bin/env bash
# Installs the dependencies and the readers, builds quorv with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the whole test suite: unit and byte tests, and the
# interoperability tests in which Apache POI and LibreOffice open the files we write.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DQUORV_SANITIZE=address,undefined
cmake --build build/asan -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/asan --output-on-failure -j"$(nproc)" "$@"
