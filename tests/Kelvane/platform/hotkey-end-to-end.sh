#!/usr/bin/env bash
# Runs a test program that needs a real X server (for example kelvane_x11_tests, which grabs the
# global hot key and presses it with xdotool) on a virtual display of its own, without a window
# manager. Further arguments go to the program. Exits with 77, which CTest counts as skipped,
# when Xvfb or xdotool is missing.
set -euo pipefail

program=$1
shift
for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "Skipped: $tool is not installed (scripts/install-deps.sh installs it)"
        exit 77
    fi
done

folder=$(mktemp -d)
xvfb=
stop() {
    [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$folder"
}
trap stop EXIT

# Xvfb picks a free display and writes its number once it accepts clients; reading it from a pipe
# waits exactly that long.
mkfifo "$folder/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$folder/display" 2>"$folder/xvfb.log" &
xvfb=$!
if ! read -r -t 120 number <"$folder/display"; then
    echo "Xvfb did not start:" >&2
    cat "$folder/xvfb.log" >&2
    exit 1
fi
export DISPLAY=:$number
unset WAYLAND_DISPLAY
"$program" "$@"
