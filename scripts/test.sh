#!/usr/bin/env bash
# Installs the dependencies, then builds and runs every check: the format check, the tests, the
# same tests under AddressSanitizer and UndefinedBehaviorSanitizer, the fuzzers, and the macOS
# build against the SDK when MACOS_SDK names one.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/check-format.sh

echo "== Tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVANE_WERROR=ON
cmake --build build
ctest --test-dir build --output-on-failure

echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELVANE_SANITIZE=ON \
    -DKELVANE_BUILD_BENCH=OFF -DKELVANE_WERROR=ON
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure

echo "== Fuzzers"
bash scripts/run-fuzzers.sh

echo "== The macOS build against the SDK in MACOS_SDK"
bash scripts/check-macos.sh

echo "== All checks passed"
