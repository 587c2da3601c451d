#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a fixed number of inputs from a fixed
# seed, so that every run explores the same inputs.
set -euo pipefail
cd "$(dirname "$0")/.."

runs_normalizer=${KELVANE_FUZZ_RUNS_NORMALIZER:-500000}
runs_loader=${KELVANE_FUZZ_RUNS_LOADER:-200000}
runs_round_trip=${KELVANE_FUZZ_RUNS_ROUND_TRIP:-200000}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKELVANE_BUILD_FUZZERS=ON -DKELVANE_BUILD_TESTS=OFF -DKELVANE_BUILD_BENCH=OFF \
    -DKELVANE_BUILD_APP=OFF \
    -DKELVANE_WERROR=ON
cmake --build build-fuzz

run() {
    local fuzzer=$1 runs=$2
    local corpus=build-fuzz/corpus-$fuzzer
    rm -rf "$corpus" && mkdir -p "$corpus" && cp fuzz/corpus/loader/* "$corpus"/
    echo "== $fuzzer: $runs inputs"
    (cd build-fuzz && "./bin/$fuzzer" -seed=1 -runs="$runs" -max_len=4096 -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 "corpus-$fuzzer" 2>&1 | tail -n 12)
}

run lenient_json_fuzzer "$runs_normalizer"
run configuration_loader_fuzzer "$runs_loader"
run v2_round_trip_fuzzer "$runs_round_trip"
