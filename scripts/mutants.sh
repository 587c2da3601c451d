#!/usr/bin/env bash
# Mutation check: does the test suite notice when the code is wrong? Applies, one at a time, a
# fixed list of small changes to the core and the app (a comparison turned around, && for ||, a
# boundary moved by one, a returned bool negated, a statement dropped, a German text changed by one
# letter), rebuilds what each one touches, runs the tests and counts the changes they caught.
# A tool for the team, not part of the regular checks.
#
#   bash scripts/mutants.sh [--seed N] [--count N] [--list FILE] [--catchers] [--jobs N] [--keep]
#
#   --seed N     chooses another list (default 16); one seed over the same code, one list
#   --count N    how many changes (default 150)
#   --list FILE  applies the changes of FILE (JSON lines, as in a kept run's mutants.jsonl)
#   --catchers   runs every test for each change and names the ones that failed: before
#                merging or dropping tests, which of them are the only ones to catch a change
#   --jobs N     parallel compile and test jobs (default 2)
#   --keep       leaves the scratch copy with its build and the list of changes in place
#
# Works on a copy of the files git knows (committed or not), never on this tree. The copy's first
# build and test run take about half a minute when ccache has the objects; then each change takes
# 10 to 15 seconds on two cores (one object, the relinks, the tests up to the first failure), so
# the default 150 take about 30 to 40 minutes.
# A change that does not compile is counted apart. Each test may take 60 seconds and the tests of
# one change 10 minutes in all; a run that exceeds its limit counts as caught.
set -euo pipefail
cd "$(dirname "$0")/.."

seed=16 count=150 list='' catchers=false jobs=2 keep=false
while (($#)); do
    case $1 in
    --seed) seed=$2; shift 2 ;;
    --count) count=$2; shift 2 ;;
    --list) list=$(realpath "$2"); shift 2 ;;
    --catchers) catchers=true; shift ;;
    --jobs) jobs=$2; shift 2 ;;
    --keep) keep=true; shift ;;
    *) echo "unknown option: $1 (see the head of $0)" >&2; exit 2 ;;
    esac
done
test_timeout=60 run_timeout=600

# Next to this tree, so that ccache's base folder covers both and the first build is all hits.
scratch=$(mktemp -d "$(dirname "$PWD")/.mutants.XXXXXX")
if [[ $keep == false ]]; then trap 'rm -rf "$scratch"' EXIT; fi
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$scratch")} CCACHE_NOHASHDIR=1

git ls-files -z --cached --others --exclude-standard |
    tar --null --files-from=- --ignore-failed-read -cf - | tar -xf - -C "$scratch"
git -C "$scratch" init -q && git -C "$scratch" add -A
if [[ -n $list ]]; then
    echo "== $(wc -l < "$list") changes from $list"
    cp "$list" "$scratch/mutants.jsonl"
    list=$scratch/mutants.jsonl
else
    list=$scratch/mutants.jsonl
    python3 scripts/mutants.py generate "$scratch" --seed "$seed" --count "$count" > "$list"
    echo "== $(wc -l < "$list") changes in $list (seed $seed)"
fi

build() { cmake --build "$scratch/build" -j "$jobs" > "$scratch/build.log" 2>&1; }
stop=--stop-on-failure
if [[ $catchers == true ]]; then stop=''; fi
tests_pass() {
    timeout --kill-after=10 "$run_timeout" ctest --test-dir "$scratch/build" -j "$jobs" \
        --timeout "$test_timeout" $stop > "$scratch/test.log" 2>&1
}
# ctest lists the failed tests as "  12 - Name (Failed)" below "The following tests FAILED:".
failed_tests() {
    sed -n '/The following tests FAILED:/,$ s/^[[:space:]]*[0-9]* - \(.*\) (.*)$/\1/p' \
        "$scratch/test.log" | paste -sd' '
}

cmake -S "$scratch" -B "$scratch/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKELVANE_WERROR=ON -DKELVANE_BUILD_BENCH=OFF \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache > "$scratch/build.log"
if ! build || ! tests_pass; then
    echo "The unchanged code does not build or pass its tests; see $scratch" >&2
    trap - EXIT
    exit 1
fi

caught=0 survived=0 broken=0 survivors=()
started=$SECONDS
while IFS= read -r mutant; do
    change=$(python3 scripts/mutants.py apply "$scratch" "$mutant")
    if ! build; then
        outcome="did not compile"; broken=$((broken + 1))
    elif tests_pass; then
        outcome=survived; survived=$((survived + 1))
        survivors+=("$change")
    else
        outcome=caught; caught=$((caught + 1))
    fi
    git -C "$scratch" checkout -q -- "${change%%:*}"
    echo "$((caught + survived + broken)). $outcome: $change"
    if [[ $catchers == true && $outcome == caught ]]; then echo "   caught by: $(failed_tests)"; fi
done < "$list"

compiled=$((caught + survived))
echo "== Caught $caught, survived $survived, did not compile $broken, in $((SECONDS - started)) s"
if ((compiled > 0)); then
    echo "== Score: $caught / $compiled = $((100 * caught / compiled)) %"
fi
if ((survived > 0)); then
    echo "== Survivors:"
    printf '  %s\n' "${survivors[@]}"
fi
if [[ $keep == true ]]; then echo "== Kept $scratch"; fi
