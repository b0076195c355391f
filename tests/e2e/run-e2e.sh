#!/usr/bin/env bash
# Runs the end-to-end scenarios against the real program: a virtual X server with a window
# manager, a D-Bus session with the accessibility bus, and the scenarios driving it from outside.
# Usage: run-e2e.sh PATH-TO-glyphwright LOG-DIR [PYTHON-ARGUMENTS...]
# Without PYTHON-ARGUMENTS it runs every test_*.py beside this script; with them, Python runs
# those in the same surroundings instead (scripts/screenshot.sh runs screenshot.py that way).
# GLYPHWRIGHT_PYTHON names a Python that imports pyatspi and GLYPHWRIGHT_AT_SPI_BUS_LAUNCHER the
# accessibility bus launcher (CMake passes the ones it found); otherwise they are looked for.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
export GLYPHWRIGHT_BINARY="$(realpath -m "$1")"
export GLYPHWRIGHT_E2E_LOGS="$(realpath -m "$2")"

if [ -z "${GLYPHWRIGHT_E2E_INSIDE:-}" ]; then
    export GLYPHWRIGHT_E2E_INSIDE=1
    exec timeout 900 dbus-run-session -- "$0" "$@"
fi
shift 2

# The first python3 on PATH may be one without the system's pyatspi (pyenv, a virtual
# environment): take the first that imports it.
find_python() {
    local python
    for python in $(type -ap python3); do
        if "$python" -c "import pyatspi" 2>/dev/null; then
            echo "$python"
            return
        fi
    done
    echo python3
}
find_launcher() {
    local launcher
    for launcher in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
        if [ -x "$launcher" ]; then
            echo "$launcher"
            return
        fi
    done
    echo at-spi-bus-launcher
}
python="${GLYPHWRIGHT_PYTHON:-$(find_python)}"
launcher="${GLYPHWRIGHT_AT_SPI_BUS_LAUNCHER:-$(find_launcher)}"

# Polls until the command succeeds, for at most a minute; the logs tell why it did not.
wait_for() {
    local what="$1"
    shift
    local deadline=$((SECONDS + 60))
    until "$@" >/dev/null 2>&1; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "run-e2e.sh: timed out waiting for $what" >&2
            tail -n 5 "$GLYPHWRIGHT_E2E_LOGS"/*.log >&2
            return 1
        fi
        sleep 0.1
    done
}
window_manager_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"
}
accessibility_bus_up() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus | grep -q "boolean true"
}

unset QT_QPA_PLATFORM
mkdir -p "$GLYPHWRIGHT_E2E_LOGS"
rm -f "$GLYPHWRIGHT_E2E_LOGS/xvfb.log"
# An X server of our own, on a display no other run uses: xvfb-run -a only looks for a free
# number, so two runs that start together can pick the same one. Here: a random display above
# those that xvfb-run and Xvfb -displayfd count from, another if it is taken, and waiting for
# our server to end before we do. -noreset: by default the server resets when its last client
# leaves (the bus launcher visits briefly), dropping the root window's properties and any
# client that connects meanwhile, such as the window manager.
display_file="$(mktemp)"
xvfb=""
stop_x_server() {
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
}
trap 'stop_x_server; rm -f "$display_file"' EXIT
# Xvfb writes the display's number once it accepts clients; it ends at once if the display is taken.
display_ready_or_taken() {
    grep -qx "[0-9][0-9]*" "$display_file" || ! kill -0 "$xvfb"
}
for _ in $(seq 10); do
    Xvfb ":$((RANDOM % 900 + 100))" -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
        3>"$display_file" >>"$GLYPHWRIGHT_E2E_LOGS/xvfb.log" 2>&1 &
    xvfb=$!
    wait_for "the X server" display_ready_or_taken
    if kill -0 "$xvfb" 2>/dev/null; then
        break
    fi
    wait "$xvfb" 2>/dev/null || true
    xvfb=""
done
[ -n "$xvfb" ] || { echo "run-e2e.sh: no free display for the X server" >&2; exit 1; }
export DISPLAY=":$(cat "$display_file")"
"$launcher" --launch-immediately >/dev/null 2>&1 &
openbox >"$GLYPHWRIGHT_E2E_LOGS/openbox.log" 2>&1 &
# Without a window manager no window is ever activated, and keys would go nowhere.
wait_for "the window manager" window_manager_running
wait_for "the accessibility bus" accessibility_bus_up
# The driver and the scenarios import each other by name, also when run from elsewhere.
export PYTHONPATH="$here${PYTHONPATH:+:$PYTHONPATH}"
if [ $# -eq 0 ]; then
    set -- -m unittest discover -v -s "$here" -t "$here" -p "test_*.py"
fi
"$python" -W ignore::DeprecationWarning "$@" 2>&1
