#!/usr/bin/env bash
# Takes the README's pictures of the real window under Xvfb with a window manager, driven through
# the accessibility tree as the end-to-end scenarios drive it (tests/e2e/screenshot.py):
# docs/screenshot.png with Qt's own look, docs/screenshot-dark.png under qt6ct's "darker" colour
# scheme and docs/screenshot-large-font.png with a 12-point desktop font.
# Usage: screenshot.sh [OUTPUT [NAME=VALUE...]]: one other picture, with settings for the program
# (e.g. QT_QPA_PLATFORMTHEME=qt6ct XDG_CONFIG_HOME=/absolute/folder for a theme).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" "${E2E_PACKAGES[@]}"
build

shoot() {
    local output="$1"
    shift
    "$ROOT/tests/e2e/run-e2e.sh" "$BUILD/src/app/glyphwright" "$BUILD/screenshot-logs" \
        "$ROOT/tests/e2e/screenshot.py" "$output" "$@"
}

if [ $# -gt 0 ]; then
    output="$(realpath -m "$1")"
    shift
    shoot "$output" "$@"
    exit
fi

config="$(mktemp -d)"
trap 'rm -rf "$config"' EXIT
# qt6ct.conf for one picture: the settings a user would pick in qt6ct's dialog.
qt6ct_config() {
    mkdir -p "$config/$1/qt6ct"
    printf '%s\n' "$2" >"$config/$1/qt6ct/qt6ct.conf"
    echo "$config/$1"
}
font='"DejaVu Sans,12,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"'
dark=$(qt6ct_config dark "$(printf '[Appearance]\ncolor_scheme_path=/usr/share/qt6ct/colors/darker.conf\ncustom_palette=true\nstyle=Fusion')")
large=$(qt6ct_config large "$(printf '[Appearance]\nstyle=Fusion\n[Fonts]\ngeneral=%s\nfixed=%s' "$font" "$font")")

shoot "$ROOT/docs/screenshot.png"
shoot "$ROOT/docs/screenshot-dark.png" QT_QPA_PLATFORMTHEME=qt6ct "XDG_CONFIG_HOME=$dark"
shoot "$ROOT/docs/screenshot-large-font.png" QT_QPA_PLATFORMTHEME=qt6ct "XDG_CONFIG_HOME=$large"
