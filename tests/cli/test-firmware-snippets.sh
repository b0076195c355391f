#!/usr/bin/env bash
# The README's firmware routines that read a byte of the table, each assembled with gpasm for the
# parts the README names with an export of its family, whole and as codes 32 to 127, and, where
# gpsim is installed, run to read back every row of a character whose rows straddle a 2K page.
# Then its C routine for an SSD1306, built with avr-gcc for an ATmega328P with the table in
# program memory (PROGMEM, and __flash), run in simavr to read a character's columns back, and
# the plain const table built for a Cortex-M0, where it must land in .rodata.
# Usage: test-firmware-snippets.sh PATH-TO-glyphwright-cli README.md. Exits 77 (skipped) when a
# tool is missing (gpasm, gpsim, gcc-avr, simavr, gcc-arm-none-eabi), after running the rest.
set -euo pipefail
cli="$(realpath "$1")"
readme="$(realpath "$2")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*"; exit 1; }
export LC_ALL=C
simulator=$(command -v gpsim || true)
missing=()
awk 'BEGIN { srand(21); for (i = 0; i < 2048; i++) printf "%c", int(rand() * 256) }' >font.pf
# The bytes of a character in a layout, as "0a 1b ...": CODE LAYOUT.
table_bytes() {
    "$cli" convert "$work/font.pf" -o - --to raw --layout "$2" --codes "$1" | od -An -v -tx1 | xargs
}

# AVR: the README's routine in a C++ program, as an Arduino sketch has it, over the PROGMEM pair.
if command -v avr-gcc >/dev/null && command -v avr-g++ >/dev/null; then
    mkdir avr && (
        cd avr
        awk '$0 == "```c avr" {on = 1; next} on && $0 == "```" {exit} on {print}' "$readme" \
            >font_column.h
        [ -s font_column.h ] || fail "README has no c avr routine"
        "$cli" convert ../font.pf -o font.h --layout columns --storage progmem
        cat >main.cpp <<'EOF_AVR'
#include <avr/interrupt.h>
#include <avr/io.h>
#include <avr/sleep.h>
#include "font_column.h"

static void put(char c)
{
    while (!(UCSR0A & (1 << UDRE0))) { }
    UDR0 = c;
}

int main()
{
    UCSR0B = 1 << TXEN0;
    for (unsigned char i = 0; i < 8; ++i) {
        put(i ? ' ' : '<');
        put("0123456789abcdef"[font_column(CODE, i) >> 4]);
        put("0123456789abcdef"[font_column(CODE, i) & 15]);
    }
    put('>');
    put('\n');
    cli(); // asleep with interrupts off, simavr ends the run
    sleep_cpu();
}
EOF_AVR
        build() { # OUTPUT SOURCES...: for the ATmega328P, warnings as errors
            local out=$1
            shift
            timeout 120 avr-gcc -mmcu=atmega328p -Os -Wall -Wextra -Werror -DCODE=200 -o "$out" "$@" \
                >"$out.log" 2>&1 || fail "avr-gcc $*: $(cat "$out.log")"
        }
        # The size of an output section: SECTION ELF.
        section_size() { avr-size -A "$2" | awk -v s="$1" '$1 == s {print $2}'; }
        build progmem.elf -x c font.c -x c++ main.cpp
        [ "$(section_size .data progmem.elf)" -lt 256 ] \
            || fail "PROGMEM: the table is in .data: $(avr-size -A progmem.elf)"
        [ "$(section_size .text progmem.elf)" -ge 2048 ] || fail "PROGMEM: the table is not in flash"
        # The proof can fail: a const table is copied into RAM at start-up,
        "$cli" convert ../font.pf -o const.h --name font --layout columns
        sed 's/"font.h"/"const.h"/; s/pgm_read_byte(&\(.*\));/\1;/' font_column.h >const_column.h
        sed 's/"font_column.h"/"const_column.h"/' main.cpp >const.cpp
        # so that 2 KB of it overflow an ATmega328P's 2 KB of RAM.
        ! avr-gcc -mmcu=atmega328p -Os -DCODE=200 -o const.elf -x c const.c -x c++ const.cpp \
            >const.log 2>&1 || fail "a const table linked for an ATmega328P"
        grep -q "section \`.data' is not within region \`data'" const.log \
            || fail "a const table failed otherwise: $(cat const.log)"
        # __flash, from C; the header refuses C++.
        "$cli" convert ../font.pf -o flash.h --name font --layout columns --storage flash
        printf '#include "flash.h"\nvolatile unsigned char sink;\nint main(void)\n{\n    sink = font[CODE][3];\n    return 0;\n}\n' >use-flash.c
        build flash.elf -std=gnu11 flash.c use-flash.c
        [ "$(section_size .data flash.elf)" -lt 256 ] || fail "__flash: the table is in .data"
        ! avr-g++ -mmcu=atmega328p -x c++ -c -o /dev/null flash.h 2>flash-cxx.log \
            || fail "the __flash header compiled as C++"
        grep -q 'in __flash, which avr-gcc has in C only' flash-cxx.log \
            || fail "the __flash header's C++ message: $(cat flash-cxx.log)"
        echo "avr: the PROGMEM and __flash tables are in flash, $(section_size .data progmem.elf) bytes of .data"
        if command -v simavr >/dev/null; then
            timeout 60 simavr -m atmega328p -f 16000000 progmem.elf </dev/null >simavr.out 2>&1 || true
            got=$(grep -o '<[0-9a-f ]*>' simavr.out | tr -d '<>') \
                || fail "simavr showed no columns: $(head -c 2000 simavr.out)"
            expected=$(table_bytes 200 columns)
            [ "$got" = "$expected" ] || fail "simavr read character 200 as '$got', not '$expected'"
            echo "avr: every column of character 200 read back in simavr"
        else
            echo "avr: simavr is not installed; not run"
        fi
    ) || exit 1
    command -v simavr >/dev/null || missing+=(simavr)
else
    missing+=(gcc-avr)
fi

# ARM: a const table stays in flash (.rodata) on a Cortex-M0.
if command -v arm-none-eabi-gcc >/dev/null; then
    mkdir arm && (
        cd arm
        "$cli" convert ../font.pf -o font.h --layout columns --width 5
        timeout 120 arm-none-eabi-gcc -mcpu=cortex-m0 -mthumb -Os -Wall -Wextra -Werror -c font.c \
            2>arm.log || fail "arm-none-eabi-gcc: $(cat arm.log)"
        section=$(arm-none-eabi-objdump -t font.o | awk '$NF == "font" {print $(NF - 2)}')
        [ "$section" = .rodata ] || fail "the table is in '$section', not .rodata"
        size=$(arm-none-eabi-objdump -t font.o | awk '$NF == "font" {print $(NF - 1)}')
        [ $((16#$size)) -eq 1280 ] || fail "the 5-column table takes $((16#$size)) bytes, not 1,280"
        echo "arm: the table is 1,280 bytes of .rodata"
    ) || exit 1
else
    missing+=(gcc-arm-none-eabi)
fi

command -v gpasm >/dev/null || { echo "SKIP: needs gpasm; ${missing[*]:-nothing else} missing"; exit 77; }

for family in pic18 pic16 pic16f1; do
    awk -v fence="\`\`\`asm $family" '$0 == fence {on = 1; next} on && $0 == "```" {exit} on {print}' \
        "$readme" >"$family.inc"
    [ -s "$family.inc" ] || fail "README has no asm $family routine"
done
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
[ -n "$simulator" ] || missing+=(gpsim)
[ ${#missing[@]} -eq 0 ] || { echo "SKIP: ${missing[*]} not installed; the rest ran"; exit 77; }
echo "firmware routines: all ok"
