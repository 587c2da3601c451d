#!/usr/bin/env bash
# Starts Kelvane on a virtual display with a system tray and photographs, from the example
# configurations: the menu, a submenu, the confirmation dialog, the quick-search panel (empty,
# with hits, without), the three panes of the settings window, the problem alert, the warnings
# alert, the General pane with a hot key that another
# program holds, the alternates shown with Alt held inside an open submenu and a menu of 660
# commands, which scrolls.
# Usage: scripts/screenshots.sh [folder] (default build/screenshots).
# Builds build/bin/kelvane when it is missing; never runs a command of the menu (every dialog
# is closed with Escape).
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
out=$(realpath -m "${1:-build/screenshots}")
mkdir -p "$out"
: >"$out/kelvane.log"

if [[ ! -x build/bin/kelvane ]]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build --target kelvane
fi

source scripts/virtual-display.sh
start_virtual_display 1024x640

# Kelvane's own files go to a folder of their own, so the user's preferences, login item and
# Shuttle files stay out of it; the first run counts as done, so no import is offered.
scratch=$(mktemp -d)
export HOME=$scratch XDG_CONFIG_HOME=$scratch/config
mkdir -p "$XDG_CONFIG_HOME/Kelvane/Preferences"
cp examples/kelvane.json "$scratch/kelvane.json"
cp examples/shuttle.json "$scratch/shuttle.json"
printf '{\n  "version": 2,\n  "items": [\n' >"$scratch/broken.json"
sed 's/"cmd+shift+l"/"cmd+shift+lk"/; s/"ctrl+alt+b"/"ctrl+hyper+b"/' examples/kelvane.json \
    >"$scratch/warnings.json"
{
    printf '{\n  "version": 2,\n  "items": [\n'
    for index in $(seq 660); do
        printf '    {"type": "command", "title": "Befehl %03d", "command": "echo %d"},\n' \
            "$index" "$index"
    done
    printf '    {"type": "command", "title": "Letzter Befehl", "command": "true"}\n  ]\n}\n'
} >"$scratch/long.json"
chmod 600 "$scratch"/*.json

app_pid=
stop_app() {
    if [[ -n $app_pid ]]; then
        kill "$app_pid" 2>/dev/null || true
        wait "$app_pid" 2>/dev/null || true
        app_pid=
    fi
}
trap 'stop_app; stop_virtual_display; rm -rf "$scratch"' EXIT

# Kelvane's window in IceWM's tray.
tray_icon() {
    xwininfo -root -tree |
        awk '/"SystemTray"/ { tray = 1 } tray && /\("kelvane" "Kelvane"\)/ { print $1; exit }' |
        grep .
}

# Waits until Kelvane shows the given number of windows, its tray icon included.
windows_shown() {
    (($(xdotool search --onlyvisible --classname '^kelvane$' | wc -l) == $1))
}

# Starts Kelvane on the given configuration, with the stored hot key given second if any, and
# waits for its icon in the tray.
start_app() {
    printf '{"configPath": "%s", "didCompleteFirstRun": true, "didSeedLaunchAtLogin": true%s}\n' \
        "$scratch/$1" "${2:+, \"quickSearchHotKey\": \"$2\"}" \
        >"$XDG_CONFIG_HOME/Kelvane/Preferences/preferences.json"
    "$repo/build/bin/kelvane" 2>>"$out/kelvane.log" &
    app_pid=$!
    wait_until tray_icon
}

# Opens the menu with a right click on the icon.
open_menu() {
    xdotool mousemove --window "$(tray_icon)" 8 8 click 3
    wait_until windows_shown 2
}

# Waits until Kelvane shows a window with exactly this title.
window_shown() {
    xdotool search --onlyvisible --name "^$1\$" >/dev/null
}

dialog_shown() {
    local window
    for window in $(xdotool search --onlyvisible --classname '^kelvane$'); do
        xprop -id "$window" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DIALOG && return 0
    done
    return 1
}

keys() {
    local key
    for key in "$@"; do
        xdotool key "$key"
    done
}

# Types keys, then waits until the given number of windows is shown.
keys_then() {
    local windows=$1
    shift
    keys "$@"
    wait_until windows_shown "$windows"
}

shoot() {
    sleep 0.5 # a mapped window is not yet a painted one
    import -window root "$out/$1.png"
    echo "  $out/$1.png"
}

echo "Screenshots into $out:"
start_app kelvane.json
open_menu
shoot 1-menu
# "Projekte" is the third entry, "Kelvane" the first of its submenu.
keys_then 4 Down Down Down Right Right
shoot 2-submenu
keys_then 1 Escape Escape Escape
# "Papierkorb leeren" (rm -rf ~/.Trash/*) is the fifth entry.
open_menu
keys Down Down Down Down Down Return
wait_until dialog_shown
shoot 3-confirmation
keys_then 1 Escape
# "Schnellsuche…" is the fourth entry from the end of the menu, "Einstellungen…" the third.
open_menu
keys Up Up Up Up Return
wait_until window_shown "Kelvane Schnellsuche"
shoot 4-quick-search
xdotool type --delay 50 "neu lad"
shoot 5-quick-search-hits
xdotool type --delay 50 "xyz"
shoot 6-quick-search-no-hits
keys_then 1 Escape
open_menu
keys Up Up Up Return
wait_until window_shown "Kelvane Einstellungen"
shoot 7-settings-general
keys ctrl+Tab
shoot 8-settings-terminal
keys ctrl+Tab
shoot 9-settings-advanced
stop_app

start_app broken.json
open_menu
keys Down Return
wait_until dialog_shown
shoot 10-problem
keys_then 1 Escape
stop_app


# The warnings entry follows the commands, seven entries above the end of the menu.
start_app warnings.json
open_menu
keys Up Up Up Up Up Up Up Return
wait_until dialog_shown
shoot 11-warnings
keys_then 1 Escape
stop_app

# Alt+Tab (key 48, Option 2048) is IceWM's own, so Kelvane's grab of it is refused.
start_app kelvane.json 48,2048
open_menu
keys Up Up Up Return
wait_until window_shown "Kelvane Einstellungen"
shoot 12-settings-hot-key-taken
stop_app

# Alt held inside "Projekte" › "Kelvane" shows the alternates there and in every open level.
start_app kelvane.json
open_menu
keys_then 4 Down Down Down Right Right
xdotool keydown alt
shoot 13-submenu-alternates
xdotool keyup alt
keys_then 1 Escape Escape Escape
stop_app

# End scrolls the long menu to its end: its last commands, then the fixed items.
start_app long.json
open_menu
keys End
shoot 14-long-menu
keys_then 1 Escape
stop_app
