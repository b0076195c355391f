#!/usr/bin/env bash
# Assembles the README's firmware routines that read a byte of the table, each with an export of
# its family, whole and as codes 32 to 127, with gpasm for the parts the README names; where
# gpsim is installed, runs each and reads back every row of one character whose rows straddle a
# page of program memory.
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

block() { awk -v fence="\`\`\`$1" '$0 == fence {on = 1; next} on && $0 == "```" {on = 0; next} on {print}' "$readme"; }
for family in pic18 pic16 pic16f1; do
    block "asm $family" >"$family.inc"
    [ -s "$family.inc" ] || fail "README has no asm $family routine"
done
awk 'BEGIN { srand(21); for (i = 0; i < 2048; i++) printf "%c", int(rand() * 256) }' >font.pf
"$cli" export font.pf -o pic18-all.asm
"$cli" export font.pf -o pic18-ascii.asm --codes 32-127
"$cli" export font.pf -o pic16-all.asm --target pic16
"$cli" export font.pf -o pic16-ascii.asm --target pic16 --codes 32-127
simulator=$(command -v gpsim || true)

# One case: the routine, the part to assemble for and the one gpsim runs it on, the table and
# where it goes, and the character read. Each table is placed so that the character's row 4 is
# the first word (or byte) of a 2K page.
run_case() {
    local routine=$1 part=$2 simulated=$3 table=$4 first=$5 code=$6
    local name="$routine-$part-$table" label org
    label=$(printf 'Char_%03d' "$first")
    org=$(printf '0x%X' $((0x800 - (code - first) * 8 - 4)))
    local access="" pagesel=""
    if [ "$routine" = pic18 ]; then access=", A"; else pagesel="pagesel"; fi
    {
        echo "#include <p$part.inc>"
        echo "#define FONT_TABLE $label"
        echo "FONT_FIRST equ $(printf '0x%X' "$first")"
        echo "        cblock 0x20"
        echo "        got0, got1, got2, got3, got4, got5, got6, got7"
        echo "        endc"
        echo "        org 0"
        echo "        goto start"
        echo "#include \"$routine.inc\""
        echo "start:"
        echo "        movlw $(printf '0x%X' "$code")"
        echo "        movwf font_code$access"
        for row in 0 1 2 3 4 5 6 7; do
            echo "        movlw $row"
            echo "        movwf font_row$access"
            [ -z "$pagesel" ] || echo "        pagesel FontByte"
            echo "        call FontByte"
            [ -z "$pagesel" ] || echo "        pagesel start"
            echo "        movwf got$row$access"
        done
        echo "done:"
        echo "        goto done"
        echo "        org $org"
        echo "#include \"$table.asm\""
        echo "        end"
    } >"$name.asm"
    timeout 60 gpasm -p "$part" -o "$name.hex" "$name.asm" >"$name.log" 2>&1 || fail "$name: gpasm: $(cat "$name.log")"
    # gpasm notes every PIC18 special register as outside bank 0 even when the access bank is
    # named (message 302); anything else it says about the routine, or any truncation, fails.
    if grep -v 'Message\[302\]' "$name.log" | grep -q .; then fail "$name: gpasm says: $(cat "$name.log")"; fi
    [ -n "$simulator" ] && [ -n "$simulated" ] || { echo "$name: assembled"; return 0; }
    if [ "$simulated" != "$part" ]; then
        timeout 60 gpasm -p "$simulated" -o "$name-sim.hex" "$name.asm" >"$name-sim.log" 2>&1 \
            || fail "$name: gpasm for $simulated: $(cat "$name-sim.log")"
        name="$name-sim"
    fi
    # A command file, standard input closed, a cycle limit and a time limit: gpsim never waits.
    printf 'load %s.cod\nbreak e done\nbreak c 1000000\nrun\n%s\nquit\n' "$name" \
        "$(printf 'got%s\n' 0 1 2 3 4 5 6 7)" >"$name.stc"
    timeout 60 gpsim -i -c "$name.stc" </dev/null 2>&1 | head -c 100000 >"$name.out" || true
    local expected got
    expected=$(od -An -v -tx1 -j $((code * 8)) -N 8 font.pf | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')
    got=""
    for row in 0 1 2 3 4 5 6 7; do
        local value
        value=$(grep -m1 -oE "got$row = 0x[0-9a-f]+" "$name.out" | sed 's/.* = //') \
            || fail "$name: gpsim gave no got$row: $(head -c 2000 "$name.out")"
        got+="${got:+ }$(printf '%02x' "$value")"
    done
    [ "$got" = "$expected" ] || fail "$name: character $code read back as '$got', not '$expected'"
    echo "$name: character $code read back on $simulated: ok"
}

run_case pic18 18f4550 18f4550 pic18-all 0 200
run_case pic18 18f4550 18f4550 pic18-ascii 32 100
run_case pic16 16f877a 16f877a pic16-all 0 200
run_case pic16 16f877a 16f877a pic16-ascii 32 100
run_case pic16 16f1847 16f1825 pic16-all 0 200
run_case pic16f1 16f1847 16f1825 pic16-all 0 200
run_case pic16f1 16f1847 16f1825 pic16-ascii 32 100

# A subset of 96 characters assembles to 768 words, whole font or not, with no truncation.
"$cli" check font.pf pic16-ascii.asm --codes 32-127 --assemble --processor 16f877a \
    || fail "check --assemble of the subset"
[ -n "$simulator" ] || { echo "SKIP: gpsim is not installed; the routines were assembled only"; exit 77; }
echo "firmware routines: all ok"
