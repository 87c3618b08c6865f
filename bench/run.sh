#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them: the standard deck saved by quorv for each N,
# the floor (one write + fsync of as many bytes to the same disk) and the same deck written by
# Apache POI HSLF, all in this one run. Prints the tables of docs/performance.md.
#   bench/run.sh [N...]            (default: 10 100 1000 10000)
# Environment: QUORV_BENCH_BUILD (build folder, default build/bench), QUORV_BENCH_POI_TIMEOUT
# (seconds one POI run may take, default 1800; a slower run is reported as not finished).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${QUORV_BENCH_BUILD:-build/bench}"
scripts/install-deps.sh --test
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUORV_BUILD_TESTS=OFF -DQUORV_BUILD_BENCH=ON > /dev/null
cmake --build "$build" --target quorv_bench -j"$(nproc)"
python3 bench/bench.py --build "$build" "$@"
