#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}"
build
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "glyphwright: no display to open the window on; run it in a desktop session, or headless with: xvfb-run -a ./scripts/run.sh" >&2
    exit 1
fi
exec "$BUILD/src/app/glyphwright" "$@"
