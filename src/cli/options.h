#pragma once

#include "cli/commandline.h"

// The options of the companion's commands. An option means the same in every command that takes
// it; a command may describe it in its own words where it says more.
namespace Options {
inline constexpr Option Help {"help", 'h', nullptr, "show this help"};
inline constexpr Option Output {
    "output", 'o', "FILE",
    "write to FILE, '-' for standard output; a file is replaced only once it is complete"};
inline constexpr Option Name {"name", 0, "NAME", "the name the output gives the font"};
inline constexpr Option Scale {"scale", 0, "N",
                               "picture pixels per glyph pixel, 1 to 32 (default 1)"};
inline constexpr Option From {"from", 0, "FORMAT",
                              "the source's format, instead of telling it from the content"};
inline constexpr Option To {"to", 0, "FORMAT",
                            "the format to write, instead of telling it from -o's extension"};
inline constexpr Option Offset {
    "offset", 0, "N", "where the font starts in raw bytes (decimal or 0x hex; implies --from raw)"};
inline constexpr Option Charset {
    "charset", 0, "NAME",
    "the character set the font's codes are in: any single-byte set iconv knows (cp437, cp850, "
    "koi8-r, iso8859-15; 'iconv -l' lists them); default latin1 (ISO 8859-1)"};
inline constexpr Option Assemble {
    "assemble", 0, nullptr, "also assemble the source with gpasm and compare the bytes it makes"};
inline constexpr Option Codes {"codes", 0, "FIRST-LAST",
                               "only the characters FIRST to LAST, inclusive (decimal or 0x hex; "
                               "default 0-255); each keeps its own code"};
inline constexpr Option Target {
    "target", 0, "pic18|pic16",
    "the PIC family the assembler table is for: pic18 (db lines, read with table reads; the "
    "default) or pic16 (dt lines, one retlw each, for the 12- and 14-bit cores of PIC10, PIC12, "
    "PIC16 and PIC16F1 parts)"};
inline constexpr Option Processor {"processor", 0, "NAME",
                                   "the processor --assemble assembles for, as gpasm names it "
                                   "(18f4550, 16f877a); one of the target's family"};
} // namespace Options
