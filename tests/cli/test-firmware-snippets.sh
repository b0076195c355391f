#!/usr/bin/env bash
# The README's firmware routines that read a byte of the table, each assembled with gpasm for the
# parts the README names with an export of its family, whole and as codes 32 to 127, and, where
# gpsim is installed, run to read back every row of a character whose rows straddle a 2K page.
# Usage: test-firmware-snippets.sh PATH-TO-glyphwright-cli README.md. Exits 77 (skipped) without
# gpasm, and after assembling when gpsim is missing.
set -euo pipefail
cli="$(realpath "$1")"
readme="$(realpath "$2")"
command -v gpasm >/dev/null || { echo "SKIP: needs gpasm"; exit 77; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*"; exit 1; }
export LC_ALL=C
simulator=$(command -v gpsim || true)

for family in pic18 pic16 pic16f1; do
    awk -v fence="\`\`\`asm $family" '$0 == fence {on = 1; next} on && $0 == "```" {exit} on {print}' \
        "$readme" >"$family.inc"
    [ -s "$family.inc" ] || fail "README has no asm $family routine"
done
awk 'BEGIN { srand(21); for (i = 0; i < 2048; i++) printf "%c", int(rand() * 256) }' >font.pf
"$cli" export font.pf -o pic18-all.asm
"$cli" export font.pf -o pic18-ascii.asm --codes 32-127
"$cli" export font.pf -o pic16-all.asm --target pic16
"$cli" export font.pf -o pic16-ascii.asm --target pic16 --codes 32-127

# ROUTINE PART SIMULATED-PART TABLE FIRST-CODE CODE: calls the routine for rows 0 to 7 of CODE
# into got0 to got7, with the table placed so that row 4 starts a 2K page.
run_case() {
    local routine=$1 part=$2 simulated=$3 table=$4 first=$5 code=$6 access="" pagesel=""
    local name="$routine-$part-$table" row got="" value
    [ "$routine" = pic18 ] && access=", A" || pagesel=yes
    {
        printf '#define FONT_TABLE Char_%03d\nFONT_FIRST equ 0x%X\n' "$first" "$first"
        printf '        cblock 0x20\n        got0, got1, got2, got3, got4, got5, got6, got7\n        endc\n'
        printf '        org 0\n        goto start\n#include "%s.inc"\nstart:\n' "$routine"
        printf '        movlw 0x%X\n        movwf font_code%s\n' "$code" "$access"
        for row in 0 1 2 3 4 5 6 7; do
            printf '        movlw %d\n        movwf font_row%s\n' "$row" "$access"
            [ -z "$pagesel" ] || echo "        pagesel FontByte"
            echo "        call FontByte"
            [ -z "$pagesel" ] || echo "        pagesel start"
            echo "        movwf got$row$access"
        done
        printf 'done:\n        goto done\n        org 0x%X\n#include "%s.asm"\n        end\n' \
            $((0x800 - (code - first) * 8 - 4)) "$table"
    } >"$name.asm"
    for target in "$part" "$simulated"; do
        { echo "#include <p$target.inc>"; cat "$name.asm"; } >"$name-$target.asm"
        timeout 60 gpasm -p "$target" "$name-$target.asm" >"$name.log" 2>&1 \
            || fail "$name: gpasm -p $target: $(cat "$name.log")"
        # gpasm notes every PIC18 special register as outside bank 0 even in the access bank
        # (message 302); anything else, a truncation above all, fails.
        ! grep -v 'Message\[302\]' "$name.log" | grep -q . || fail "$name: gpasm says: $(cat "$name.log")"
    done
    [ -n "$simulator" ] || { echo "$name: assembled"; return 0; }
    # A command file, standard input closed, a cycle limit and a time limit: gpsim never waits.
    printf 'load %s-%s.cod\nbreak e done\nbreak c 1000000\nrun\n%s\nquit\n' "$name" "$simulated" \
        "$(printf 'got%s\n' 0 1 2 3 4 5 6 7)" >"$name.stc"
    timeout 60 gpsim -i -c "$name.stc" </dev/null 2>&1 | head -c 100000 >"$name.out" || true
    for row in 0 1 2 3 4 5 6 7; do
        value=$(grep -m1 -oE "got$row = 0x[0-9a-f]+" "$name.out" | sed 's/.* = //') \
            || fail "$name: gpsim gave no got$row: $(head -c 2000 "$name.out")"
        got+="${got:+ }$(printf '%02x' "$value")"
    done
    expected=$(od -An -v -tx1 -j $((code * 8)) -N 8 font.pf | xargs)
    [ "$got" = "$expected" ] || fail "$name: character $code read back as '$got', not '$expected'"
    echo "$name: every row of character $code read back on $simulated"
}

run_case pic18 18f4550 18f4550 pic18-all 0 200
run_case pic18 18f4550 18f4550 pic18-ascii 32 100
run_case pic16 16f877a 16f877a pic16-all 0 200
run_case pic16 16f877a 16f877a pic16-ascii 32 100
# gpsim has no PIC16F1847: its routines run on the PIC16F1825, the same core and 8K words.
run_case pic16 16f1847 16f1825 pic16-all 0 200
run_case pic16f1 16f1847 16f1825 pic16-all 0 200
run_case pic16f1 16f1847 16f1825 pic16-ascii 32 100
[ -n "$simulator" ] || { echo "SKIP: gpsim is not installed; the routines were assembled only"; exit 77; }
echo "firmware routines: all ok"
