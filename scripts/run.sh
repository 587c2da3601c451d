#!/usr/bin/env bash
# Installs the dependencies, builds everything and starts Kelvane.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build

echo
echo "Built the core library (build/KelvaneCore), the tests (build/bin/kelvane_core_tests) and"
echo "the benchmarks (build/bin/*_bench). The application itself is not part of the project yet,"
echo "so there is nothing to start."
