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
# shellcheck source=SCRIPTDIR/../xserver.sh
source "$here/../xserver.sh"
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

accessibility_bus_up() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus | grep -q "boolean true"
}

unset QT_QPA_PLATFORM
mkdir -p "$GLYPHWRIGHT_E2E_LOGS"
# Its own X server, so that runs side by side never share a display; the bus launcher starts
# before the window manager, as a session's would.
trap stop_x_server EXIT
start_x_server "$GLYPHWRIGHT_E2E_LOGS"
"$launcher" --launch-immediately >/dev/null 2>&1 &
start_window_manager
wait_for "the accessibility bus" accessibility_bus_up
# The driver and the scenarios import each other by name, also when run from elsewhere.
export PYTHONPATH="$here${PYTHONPATH:+:$PYTHONPATH}"
if [ $# -eq 0 ]; then
    set -- -m unittest discover -v -s "$here" -t "$here" -p "test_*.py"
fi
"$python" -W ignore::DeprecationWarning "$@" 2>&1
