#!/usr/bin/env bash
# Installs what is missing, builds the editor, and starts it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
# Checked first: without a display there is nothing to build the editor for.
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
    echo "glyphwright: no display to open the window on; run it in a desktop session, or headless with: xvfb-run -a ./scripts/run.sh" >&2
    exit 1
fi
ensure_packages "${BUILD_PACKAGES[@]}"
build --target glyphwright
exec "$BUILD/src/app/glyphwright" "$@"
