#!/usr/bin/env bash
# Times `kelvanectl search` (trust check and file loading included) against `fzf --filter` on the
# same titles, both as whole processes with their output thrown away, in alternating pairs (the
# order flips from pair to pair). Titles are two to five everyday words, commands in groups of 50.
# Prints the median of each program and their ratio per size and query; the machine's load
# average goes with the figures, because both programs share its cores with everything else.
#
# kelvanectl is timed twice: as it runs again and again over an unchanged file (its search cache
# filled by the run before), and with the cache emptied before every run, as the first search
# after each change of the file runs (it loads the file and writes the cache).
# Usage: bench/compare-with-fzf.sh [BUILD_DIR] [PAIRS]   (a Release build is best; PAIRS >= 7)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
pairs=${2:-9}
command -v fzf >/dev/null || { echo "fzf fehlt: apt-get install fzf" >&2; exit 1; }
((pairs >= 7)) || { echo "Mindestens 7 Paare, damit der Median etwas sagt." >&2; exit 64; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
kelvanectl=$build/bin/kelvanectl

nanoseconds() { # input command...: the wall time of one run, in nanoseconds
    local input=$1 start end
    shift
    start=$(date +%s%N)
    "$@" <"$input" >/dev/null
    end=$(date +%s%N)
    echo $((end - start))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ms() { awk -v n="$1" 'BEGIN { printf "%.1f", n / 1e6 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

ours() { XDG_CACHE_HOME=$work/cache "$kelvanectl" search "$file" "$query"; }
oursUncached() { XDG_CACHE_HOME=$work/uncached "$kelvanectl" search "$file" "$query"; }
theirs() { fzf --filter "$query"; }

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-8s %-14s %10s %10s %6s %12s %6s\n' commands query kelvanectl fzf ratio "no cache" ratio
for size in 10000 100000; do
    file=$work/k$size.json titles=$work/t$size.txt
    "$build/bin/kelvane_generate_configuration" "$size" 50 "$file" "$titles"
    warm=() cold=()
    for query in "gp" "dlt" "docker logs"; do
        ours >/dev/null # fills the cache the timed runs use
        a=() b=() c=()
        for ((pair = 0; pair < pairs; pair++)); do
            if ((pair % 2 == 0)); then
                a+=("$(nanoseconds /dev/null ours)") b+=("$(nanoseconds "$titles" theirs)")
            else
                b+=("$(nanoseconds "$titles" theirs)") a+=("$(nanoseconds /dev/null ours)")
            fi
            rm -rf "$work/uncached" # outside the timed run
            c+=("$(nanoseconds /dev/null oursUncached)")
        done
        a=$(printf '%s\n' "${a[@]}" | median) b=$(printf '%s\n' "${b[@]}" | median)
        c=$(printf '%s\n' "${c[@]}" | median)
        warm+=("$(ratio "$a" "$b")") cold+=("$(ratio "$c" "$b")")
        printf '%-8s %-14s %7s ms %7s ms %6s %9s ms %6s\n' "$size" "\"$query\"" "$(ms "$a")" \
            "$(ms "$b")" "$(ratio "$a" "$b")" "$(ms "$c")" "$(ratio "$c" "$b")"
    done
    echo "median ratio at $size commands: $(printf '%s\n' "${warm[@]}" | median)" \
        "(no cache: $(printf '%s\n' "${cold[@]}" | median))"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
