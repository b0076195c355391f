#!/usr/bin/env bash
# Runs the end-to-end scenarios against the real program: a virtual X server with a window
# manager, a D-Bus session with the accessibility bus, and the scenarios driving it from outside.
# Usage: run-e2e.sh PATH-TO-glyphwright LOG-DIR PATH-TO-glyphwright-cli
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
export GLYPHWRIGHT_BINARY="$1"
export GLYPHWRIGHT_E2E_LOGS="$2"
export GLYPHWRIGHT_CLI="$3"

if [ -z "${GLYPHWRIGHT_E2E_INSIDE:-}" ]; then
    export GLYPHWRIGHT_E2E_INSIDE=1
    exec timeout 900 xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- "$0" "$@"
fi

unset QT_QPA_PLATFORM
mkdir -p "$GLYPHWRIGHT_E2E_LOGS"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
openbox >/dev/null 2>&1 &
sleep 1
cd "$here"
/usr/bin/python3 -W ignore::DeprecationWarning -m unittest -v test_glyphwright test_desktops 2>&1
