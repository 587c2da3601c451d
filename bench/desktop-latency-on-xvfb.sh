#!/usr/bin/env bash
# Runs the desktop latency benchmark at 1,000 and 10,000 commands on a virtual X server of its
# own with IceWM, whose task bar is the tray, and prints the load average beside the figures:
# hot key to panel painted, tray click to menu painted, and Return in the panel or a click on a
# menu item to the terminal program started (a stand-in that only notes its start).
# Usage: bench/desktop-latency-on-xvfb.sh [BUILD_DIR] [RUNS]   (RUNS >= 20)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
runs=${2:-21}
command -v icewm >/dev/null || { echo "icewm fehlt: scripts/install-deps.sh installiert es" >&2; exit 1; }
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
tests/Kelvane/platform/hotkey-end-to-end.sh bash -c '
    icewm >/dev/null 2>&1 &
    trap "kill $!" EXIT
    for commands in 1000 10000; do "$0" "$commands" "$1"; done' \
    "$build/bin/kelvane_desktop_latency_bench" "$runs"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
