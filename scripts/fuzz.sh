#!/usr/bin/env bash
# Builds the libFuzzer target with clang (AddressSanitizer + UndefinedBehaviorSanitizer) and runs
# it for SECONDS seconds (default 30) from the seed corpus. New inputs go to build/fuzz/corpus,
# findings (crash-*, leak-*, timeout-*) to build/fuzz/findings.
#   scripts/fuzz.sh [SECONDS] [extra libFuzzer flags...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
shift || true
cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUORV_BUILD_FUZZ=ON -DQUORV_BUILD_TESTS=OFF -DQUORV_BUILD_TOOLS=OFF -DQUORV_SANITIZE=address,undefined
cmake --build build/fuzz --target fuzz_api -j"$(nproc)"
mkdir -p build/fuzz/corpus build/fuzz/findings
build/fuzz/tests/fuzz/fuzz_api -max_total_time="$seconds" -max_len=8192 -timeout=30 -rss_limit_mb=4096 \
    -artifact_prefix=build/fuzz/findings/ -print_final_stats=1 "$@" build/fuzz/corpus tests/fuzz/corpus
