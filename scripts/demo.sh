#!/usr/bin/env bash
# Installs the dependencies, builds quorv and writes the built-in sample deck to demo.ppt.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DQUORV_BUILD_TESTS=OFF
cmake --build build/release -j"$(nproc)"
build/release/tools/quorv-ppt demo -o "${1:-demo.ppt}"
