#!/usr/bin/env bash
# The Windows companion under Wine against the Linux one: every command, on the same random
# fonts, gives the same bytes, the same messages and the same exit status; binary output through
# a pipe, and a font read from one, keep every byte (a text-mode stream would turn LF into CR LF
# and end at the first Ctrl-Z).
# Usage: test-cli.sh LINUX-glyphwright-cli WINDOWS-glyphwright-cli.exe
set -uo pipefail
linux="$(realpath "$1")"
windows="$(realpath "$2")"
wine_run="$(cd "$(dirname "$0")/../../cmake" && pwd)/wine-run.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/linux" "$work/windows"
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Runs one command line in each program's own folder and compares everything it produced.
same() {
    local side
    local -a program
    for side in linux windows; do
        program=("$linux")
        [ "$side" = windows ] && program=("$wine_run" "$windows")
        (cd "$work/$side" && "${program[@]}" "$@" >stdout 2>stderr </dev/null; echo $? >status)
    done
    local file
    for file in $(cd "$work/linux" && ls); do
        if ! cmp -s "$work/linux/$file" "$work/windows/$file"; then
            fail "$*: $file differs"
            diff <(od -c "$work/linux/$file" | head -5) <(od -c "$work/windows/$file" | head -5) >&2
        fi
    done
    [ "$(cd "$work/linux" && ls)" = "$(cd "$work/windows" && ls)" ] || fail "$*: other files made"
}

# Random fonts, the same for the same seed, and a font whose bytes are the ones text mode alters.
for seed in 1 2 3; do
    python3 -c "import random, sys; r = random.Random($seed)
sys.stdout.buffer.write(bytes(r.randrange(256) for _ in range(2048)))" >"$work/linux/font$seed.pf"
done
python3 -c "import sys; sys.stdout.buffer.write(bytes([0x0A, 0x0D, 0x1A, 0x00] * 512))" \
    >"$work/linux/control.pf"
cp "$work"/linux/*.pf "$work/windows/"

for font in font1.pf font2.pf font3.pf control.pf; do
    same export "$font"
    same export "$font" -o out.asm
    same export "$font" -o out.asm --name "Fonts for the PIC"
    same text "$font"
    same text "$font" -o out.txt
    same from-text out.txt -o back.pf
    same check "$font" out.asm
    for format in png psf bdf c; do
        same convert "$font" -o - --to "$format"
    done
    same convert "$font" -o sheet.png --scale 3
    same convert "$font" -o font.psf
    same convert "$font" -o font.bdf
    same convert "$font" -o font.h --name osd_font
    same render "$font" "CQ CQ DE PA3XYZ" -o line.png --scale 2
    same render "$font" "$(printf 'Two\nlines')" -o -
    same import font.psf -o from-psf.pf
    same import sheet.png -o from-png.pf
    same import font.bdf -o from-bdf.pf
    same import "$font" --from raw -o from-raw.pf
    same import "$font" --from raw --first 32 --count 96 --flip -o from-rom.pf
    same export "$font" --target pic16 --codes 32-127 -o out16.asm
    same check "$font" out16.asm --codes 32-127
    same text "$font" --codes 0x20-0x7F
    same convert "$font" -o ascii.c --codes 32-127 --name ascii
    same convert "$font" -o - --to asm --target pic16
    same export "$font" --syntax pic-as --target pic16 --codes 32-127 -o outxc.asm
    same check "$font" outxc.asm --codes 32-127 --syntax pic-as
    same transform "$font" -o moved.pf --shift down --flip horizontal --rotate 90 --bold
    same render "$font" "Caf$(printf '\xc3\xa9')" -o cafe.png --charset latin1
    # Other character sets come from iconv on Linux and from Windows' code pages: the same tables.
    for charset in cp437 cp850 cp1252 koi8-r iso8859-15; do
        same convert "$font" -o "$charset.psf" --charset "$charset"
        same convert "$font" -o "$charset.bdf" --charset "$charset"
        same import "$charset.psf" -o "$charset.pf" --charset "$charset"
    done
    same render "$font" "$(printf '\xe2\x96\x91 \xc3\xa9')" -o - --charset cp437
done
# A TrueType font drawn by each program's own FreeType.
dejavu=/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf
if [ -f "$dejavu" ]; then
    cp "$dejavu" "$work/linux/"
    cp "$dejavu" "$work/windows/"
    same import DejaVuSansMono.ttf --size 8 -o dejavu.pf
fi
same export missing.pf
same check font1.pf font.h
same --help
same --version
same convert --help

# Pipes: into and out of the Windows program, and between two of them.
cd "$work/windows"
for font in font1.pf control.pf; do
    "$wine_run" "$windows" convert - -o - --to png <"$font" >piped.png
    "$linux" convert "$font" -o - --to png | cmp -s - piped.png || fail "PNG through a pipe differs"
    "$wine_run" "$windows" export - <"$font" | cmp -s - <("$linux" export - <"$font") ||
        fail "$font read from a pipe differs"
    "$wine_run" "$windows" text "$font" | "$wine_run" "$windows" from-text - -o - |
        cmp -s - "$font" || fail "$font through text and back in a pipe differs"
done

if [ "$failures" -gt 0 ]; then
    echo "test-cli.sh: $failures differences" >&2
    exit 1
fi
echo "test-cli.sh: the Windows companion gives the Linux companion's bytes"
