#!/usr/bin/env bash
# Installs every package the build, the tests, the fuzzers and the benchmarks need, from
# Debian 12's archive. Runs as root; does nothing when everything is already there.
# python3-jsonschema (draft 2020-12 since 4.0; Debian 12 has 4.10) checks schema/v2.json.
# libqt6svg6 draws the SVG icon; qt6-translations-l10n holds Qt's German texts (file chooser,
# context menus, standard buttons). Xvfb, IceWM (its task bar is the system tray), xdotool, the X
# utilities and ImageMagick's import run Kelvane without a graphical session and take screenshots.
# libx11-dev and libxcb1-dev grab the global hot key on X11; libxtst-dev lets the desktop latency
# benchmark press keys and click as another program's keyboard and mouse.
# bash, zsh and dash run the generated command lines in the tests, as a user's shell would.
# xterm runs the chosen commands when the desktop brings no terminal program of its own, and
# xdg-utils (xdg-open) opens the configuration file and its folder from the menu. xterm, tmux and
# gnome-terminal (about ten seconds to install) run the commands in real terminal programs in the
# end-to-end test. Installing gnome-terminal makes it the x-terminal-emulator of the machine; the
# tests name their programs and do not mind.
# dbus-daemon gives the tests a session bus of their own (dbus-run-session).
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    clang libclang-rt-14-dev clang-format
    libicu-dev rapidjson-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    python3-jsonschema
    qt6-base-dev libgl-dev libqt6svg6 qt6-translations-l10n
    libx11-dev libxcb1-dev libxtst-dev
    xvfb icewm xdotool x11-utils imagemagick
    xterm xdg-utils tmux gnome-terminal dbus-daemon
    fzf vim
    bash zsh dash
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done

if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
