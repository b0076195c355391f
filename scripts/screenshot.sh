#!/usr/bin/env bash
# Takes docs/screenshot.png: the real window under Xvfb with a window manager, driven through the
# accessibility tree as the end-to-end scenarios drive it (tests/e2e/screenshot.py).
# Usage: screenshot.sh [OUTPUT [NAME=VALUE...]]: another picture, with settings for the program
# (e.g. QT_QPA_PLATFORMTHEME=qt6ct XDG_CONFIG_HOME=/absolute/folder for a theme).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" "${E2E_PACKAGES[@]}"
build
output="$(realpath -m "${1:-$ROOT/docs/screenshot.png}")"
shift $(($# > 0 ? 1 : 0))
exec "$ROOT/tests/e2e/run-e2e.sh" "$BUILD/src/app/glyphwright" "$BUILD/screenshot-logs" \
    "$ROOT/tests/e2e/screenshot.py" "$output" "$@"
