#!/usr/bin/env bash
# The real kelvanectl process passes on the exit codes of its subcommands.
# Usage: exit-codes.sh KELVANECTL EXAMPLES_DIR
set -u
kelvanectl=$1 examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$examples/kelvane.json" "$work/ok.json"
printf '{"items": [' >"$work/broken.json"
cp "$work/ok.json" "$work/shared.json" && chmod 0666 "$work/shared.json"
printf '{"cmds": [{"cmd": "ls"}]}' >"$work/warned.json"

passed=0 failed=0
expect() {
    local code=$1
    shift
    "$kelvanectl" "$@" >/dev/null 2>&1
    local actual=$?
    if [ "$actual" -eq "$code" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: kelvanectl $* gave $actual, expected $code"
    fi
}

# One way to each code; the unit tests cover the other ways to them.
expect 0 check "$work/ok.json"
expect 1 check --strict "$work/warned.json"
expect 2 check "$work/broken.json"
expect 3 check "$work/shared.json"
expect 64
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
