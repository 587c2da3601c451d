#!/usr/bin/env bash
# Times `kelvanectl search` (file loading included) against `fzf --filter` on the same titles,
# as whole processes, and prints the median ratio ours / fzf per size and query.
# Usage: bench/compare-with-fzf.sh [BUILD_DIR] [RUNS]   (a Release build is best)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
runs=${2:-15}
command -v fzf >/dev/null || { echo "fzf fehlt: apt-get install fzf" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median_ns() { # command...: the median wall time of $runs runs, in nanoseconds
    local times=() start end
    for ((i = 0; i < runs; i++)); do
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        times+=($((end - start)))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

queries=("d" "dep" "nginx" "deploy ngi" "restartnginx")
printf '%-9s %-14s %12s %12s %7s\n' commands query kelvanectl fzf ratio
for size in 10000 100000; do
    "$build/bin/kelvane_generate_configuration" "$size" 250 "$work/k$size.json" "$work/t$size.txt"
    ratios=()
    for query in "${queries[@]}"; do
        ours=$(median_ns "$build/bin/kelvanectl" search --limit 100 "$work/k$size.json" "$query")
        theirs=$(median_ns sh -c 'fzf --filter "$1" < "$2"' sh "$query" "$work/t$size.txt")
        ratio=$(awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "%.2f", a / b }')
        ratios+=("$ratio")
        printf '%-9s %-14s %9.1f ms %9.1f ms %7s\n' "$size" "\"$query\"" \
            "$(awk -v n="$ours" 'BEGIN { print n / 1e6 }')" \
            "$(awk -v n="$theirs" 'BEGIN { print n / 1e6 }')" "$ratio"
    done
    printf '%s\n' "${ratios[@]}" | sort -n |
        awk -v size="$size" '{ r[NR] = $1 } END { printf "median ratio at %s commands: %s\n", size, r[int((NR + 1) / 2)] }'
done
