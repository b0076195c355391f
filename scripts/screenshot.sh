#!/usr/bin/env bash
# Takes docs/screenshot.png: the real window under Xvfb with a window manager, after drawing a
# capital A into character 65 square by square and applying it, as a user would.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth openbox xdotool x11-utils imagemagick
build

if [ -z "${GLYPHWRIGHT_IN_XVFB:-}" ]; then
    GLYPHWRIGHT_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi

openbox >/dev/null 2>&1 &
sleep 1
"$BUILD/src/app/glyphwright" >/dev/null 2>&1 &
app=$!
trap 'kill $app 2>/dev/null' EXIT
for _ in $(seq 50); do
    win=$(xdotool search --name "8x8 ROM" 2>/dev/null | head -1) && [ -n "$win" ] && break
    sleep 0.1
done
sleep 0.5
# xwininfo gives the client area's true place; the frame around it belongs to the window manager.
X=$(xwininfo -id "$win" | awk '/Absolute upper-left X/ {print $4}')
Y=$(xwininfo -id "$win" | awk '/Absolute upper-left Y/ {print $4}')
HEIGHT=$(xwininfo -id "$win" | awk '/Height:/ {print $2}')
menu=$((HEIGHT - 333)) # the client area is 333 pixels tall below the menu bar
click() { xdotool mousemove $((X + $1)) $((Y + menu + $2)) click 1; sleep 0.05; }

click $((19 * 5 + 9)) $((19 * 2 + 9)) # character 65
glyph=(0x18 0x24 0x42 0x7E 0x42 0x42 0x42 0x00)
for row in $(seq 0 7); do
    for col in $(seq 0 7); do
        if (( glyph[row] & (0x80 >> col) )); then click $((221 + 16 * col)) $((205 + 16 * row)); fi
    done
done
click $((52 + 384 + 36)) $((180 + 16 + 8)) # Apply
sleep 0.5
mkdir -p "$ROOT/docs"
import -window "$win" -frame "$ROOT/docs/screenshot.png"
echo "wrote docs/screenshot.png"
