#!/usr/bin/env bash
# Installs the dependencies, builds Kelvane and kelvanectl and starts Kelvane. Without a graphical
# session it starts it on a virtual display with a system tray. Its log lines appear here as well as
# in the system log; Ctrl-C ends it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target kelvane kelvanectl

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    source scripts/virtual-display.sh
    start_virtual_display
    echo "No graphical session here: Kelvane runs on the virtual display $DISPLAY (Xvfb, with the"
    echo "IceWM task bar as its system tray). scripts/screenshots.sh shows what it looks like."
fi
echo "Starting build/bin/kelvane"
build/bin/kelvane
