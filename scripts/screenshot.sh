#!/usr/bin/env bash
# Takes the README's pictures of the real window under Xvfb with a window manager, after drawing
# a capital A into character 65 square by square and applying it, as a user would:
# docs/screenshot.png with Qt's own look, docs/screenshot-dark.png under qt6ct's "darker" colour
# scheme and docs/screenshot-large-font.png with a 12-point desktop font.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth openbox xdotool x11-utils imagemagick qt6ct
build

if [ -z "${GLYPHWRIGHT_IN_XVFB:-}" ]; then
    GLYPHWRIGHT_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi

openbox >/dev/null 2>&1 &
sleep 1
CONFIG="$(mktemp -d)"
app=""
trap 'kill $app 2>/dev/null; rm -rf "$CONFIG"' EXIT
mkdir -p "$ROOT/docs"

# shoot FILE [qt6ct.conf text]: one run of the program, under qt6ct when given its settings.
shoot() {
    local file="$1" settings="${2:-}"
    if [ -n "$settings" ]; then
        mkdir -p "$CONFIG/qt6ct"
        printf '%s\n' "$settings" >"$CONFIG/qt6ct/qt6ct.conf"
        XDG_CONFIG_HOME="$CONFIG" QT_QPA_PLATFORMTHEME=qt6ct "$BUILD/src/app/glyphwright" >/dev/null 2>&1 &
    else
        "$BUILD/src/app/glyphwright" >/dev/null 2>&1 &
    fi
    app=$!
    local win=""
    for _ in $(seq 50); do
        win=$(xdotool search --name "8x8 ROM" 2>/dev/null | head -1) && [ -n "$win" ] && break
        sleep 0.1
    done
    sleep 0.5
    # xwininfo gives the client area's true place; the frame around it belongs to the window manager.
    local X Y HEIGHT menu
    X=$(xwininfo -id "$win" | awk '/Absolute upper-left X/ {print $4}')
    Y=$(xwininfo -id "$win" | awk '/Absolute upper-left Y/ {print $4}')
    HEIGHT=$(xwininfo -id "$win" | awk '/Height:/ {print $2}')
    menu=$((HEIGHT - 333)) # the client area is 333 pixels tall below the menu bar
    click() { xdotool mousemove $((X + $1)) $((Y + menu + $2)) click 1; sleep 0.05; }

    click $((19 * 5 + 9)) $((19 * 2 + 9)) # character 65
    local glyph=(0x18 0x24 0x42 0x7E 0x42 0x42 0x42 0x00)
    for row in $(seq 0 7); do
        for col in $(seq 0 7); do
            if (( glyph[row] & (0x80 >> col) )); then click $((221 + 16 * col)) $((205 + 16 * row)); fi
        done
    done
    click $((52 + 384 + 36)) $((180 + 16 + 8)) # Apply
    click $((19 * 6 + 9)) $((19 * 2 + 9))      # character 66: the A shows on an unselected cell
    for col in 0 1 2 3 4 5 6; do click $((221 + 16 * col)) $((205 + 16 * 2)); done
    sleep 0.5
    import -window "$win" -frame "$ROOT/docs/$file"
    kill "$app"
    wait "$app" 2>/dev/null || true
    echo "wrote docs/$file"
}

FONT='"DejaVu Sans,12,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"'
shoot screenshot.png
shoot screenshot-dark.png "$(printf '[Appearance]\ncolor_scheme_path=/usr/share/qt6ct/colors/darker.conf\ncustom_palette=true\nstyle=Fusion')"
shoot screenshot-large-font.png "$(printf '[Appearance]\nstyle=Fusion\n[Fonts]\ngeneral=%s\nfixed=%s' "$FONT" "$FONT")"
