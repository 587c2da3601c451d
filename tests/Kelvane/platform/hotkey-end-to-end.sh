#!/usr/bin/env bash
# Runs a test program that needs a real X server (for example kelvane_x11_tests, which grabs the
# global hot key and presses it with xdotool) on a virtual display of its own. Further arguments
# go to the program. Exits with 77, which CTest counts as skipped, when a tool is missing.
set -euo pipefail

program=$1
shift
for tool in Xvfb icewm xdotool xdpyinfo xwininfo; do
    if ! command -v "$tool" >/dev/null; then
        echo "Skipped: $tool is not installed (scripts/install-deps.sh installs it)"
        exit 77
    fi
done

source "$(dirname "$0")/../../../scripts/virtual-display.sh"
start_virtual_display
"$program" "$@"
