# shellcheck shell=bash
# A virtual X server with a window manager for the scripts that run the real program in one
# (e2e/run-e2e.sh, package/test-package.sh). Sourced, not run:
#   start_x_server LOG-DIR   starts the server (its log LOG-DIR/xvfb.log) and exports DISPLAY
#   start_window_manager     starts openbox (LOG-DIR/openbox.log) and waits until it runs
#   stop_x_server            ends both, and waits for them
#   wait_for WHAT COMMAND... polls until COMMAND succeeds, for at most a minute; on a timeout
#                            says so with the ends of the logs in LOG-DIR and returns 1

x_logs=""
x_display_file=""
xvfb=""
window_manager=""

wait_for() {
    local what="$1"
    shift
    local deadline=$((SECONDS + 60))
    until "$@" >/dev/null 2>&1; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "$(basename "$0"): timed out waiting for $what" >&2
            if [ -n "$x_logs" ]; then
                tail -n 5 "$x_logs"/*.log >&2
            fi
            return 1
        fi
        sleep 0.1
    done
}

# Xvfb writes the display's number once it accepts clients; it ends at once if the display is taken.
x_display_ready_or_taken() {
    grep -qx "[0-9][0-9]*" "$x_display_file" || ! kill -0 "$xvfb"
}

# A server of our own, on a display no other run uses: xvfb-run -a only looks for a free number,
# so two runs that start together can pick the same one. Here: a random display above those that
# xvfb-run and Xvfb -displayfd count from, another if it is taken. -noreset: by default the
# server resets when its last client leaves (the accessibility bus launcher visits briefly),
# dropping the root window's properties and any client that connects meanwhile, such as the
# window manager.
start_x_server() {
    x_logs="$1"
    mkdir -p "$x_logs"
    rm -f "$x_logs/xvfb.log"
    x_display_file="$(mktemp)"
    local _
    for _ in $(seq 10); do
        Xvfb ":$((RANDOM % 900 + 100))" -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
            3>"$x_display_file" >>"$x_logs/xvfb.log" 2>&1 &
        xvfb=$!
        wait_for "the X server" x_display_ready_or_taken || return 1
        if kill -0 "$xvfb" 2>/dev/null; then
            DISPLAY=":$(cat "$x_display_file")"
            export DISPLAY
            return 0
        fi
        wait "$xvfb" 2>/dev/null || true
        xvfb=""
    done
    echo "$(basename "$0"): no free display for the X server" >&2
    return 1
}

x_window_manager_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"
}

# Without a window manager no window is ever activated, and keys would go nowhere.
start_window_manager() {
    openbox >"$x_logs/openbox.log" 2>&1 &
    window_manager=$!
    wait_for "the window manager" x_window_manager_running
}

stop_x_server() {
    local pid
    for pid in "$window_manager" "$xvfb"; do
        if [ -n "$pid" ]; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
    window_manager=""
    xvfb=""
    if [ -n "$x_display_file" ]; then
        rm -f "$x_display_file"
    fi
    x_display_file=""
}
