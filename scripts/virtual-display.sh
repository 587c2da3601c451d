# Sourced by scripts that show Kelvane without a graphical session. start_virtual_display starts
# Xvfb on a free display and IceWM, whose task bar holds a system tray, exports DISPLAY, and waits
# until the tray is there; both stop when the calling shell exits.

virtual_display_pids=()

stop_virtual_display() {
    local pid
    for pid in "${virtual_display_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${virtual_display_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    virtual_display_pids=()
    rm -rf "${virtual_display_folder:-}"
}

# Waits up to thirty seconds (a busy machine) for a command to succeed.
wait_until() {
    local attempt
    for attempt in $(seq 300); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "Timed out waiting for: $*" >&2
    return 1
}

tray_is_there() {
    xwininfo -root -tree | grep -q '"SystemTray"'
}

start_virtual_display() {
    local size=${1:-1280x800}
    virtual_display_folder=$(mktemp -d)
    trap stop_virtual_display EXIT
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp \
        3>"$virtual_display_folder/display" 2>"$virtual_display_folder/xvfb.log" &
    virtual_display_pids+=($!)
    wait_until test -s "$virtual_display_folder/display"
    DISPLAY=":$(cat "$virtual_display_folder/display")"
    export DISPLAY
    unset WAYLAND_DISPLAY
    if [[ -z "${XDG_RUNTIME_DIR:-}" ]]; then
        export XDG_RUNTIME_DIR=$virtual_display_folder/runtime
        mkdir -m 700 "$XDG_RUNTIME_DIR"
    fi
    wait_until xdpyinfo
    # IceWM reads its settings from here; an empty folder gives the defaults, tray included.
    ICEWM_PRIVCFG="$virtual_display_folder/icewm" icewm >"$virtual_display_folder/icewm.log" 2>&1 &
    virtual_display_pids+=($!)
    wait_until tray_is_there
}
