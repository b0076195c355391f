#pragma once

#include "cli/option.h"
#include "core/asmexport.h"
#include "core/charbitmap.h"
#include "core/glyphlayout.h"
#include "formats/fontformats.h"
#include "formats/inkimage.h"
#include "formats/scalablefont.h"

// The formats of the table that read (or write), as the values of --from (or --to); each value's
// code is the format's index in fontFormats().
std::span<const OptionValue> readFormatValues();
std::span<const OptionValue> writeFormatValues();

// The options of the companion's commands. An option means the same in every command that takes
// it; a command may describe it in its own words where it says more.
namespace Options {
inline constexpr OptionValue TargetValues[]
    = {{"pic18", int(PicTarget::Pic18)}, {"pic16", int(PicTarget::Pic16)}};
inline constexpr OptionValue SyntaxValues[]
    = {{"mpasm", int(AsmSyntax::Mpasm), "gpasm"}, {"pic-as", int(AsmSyntax::PicAs), "xc8"}};
inline constexpr OptionValue InkValues[]
    = {{"dark", int(InkRule::Dark)}, {"light", int(InkRule::Light)}};
inline constexpr OptionValue LayoutValues[] = {{"rows", int(ByteOrder::Rows)},
                                               {"rows-lsb", int(ByteOrder::RowsLsb)},
                                               {"columns", int(ByteOrder::Columns)},
                                               {"columns-msb", int(ByteOrder::ColumnsMsb)}};
inline constexpr OptionValue StorageValues[] = {{"const", int(CStorage::Const)},
                                                {"progmem", int(CStorage::Progmem)},
                                                {"flash", int(CStorage::Flash)}};

inline constexpr Option Output {
    "output", 'o', Option::Kind::Output, "FILE",
    "write to FILE, '-' for standard output; a file is replaced only once it is complete"};
inline constexpr Option Name = textOption("name", "NAME", "the name the output gives the font");
inline constexpr Option Scale = numberOption("scale", "N", 1, MaxScale,
                                             "picture pixels per glyph pixel, 1 to 32 (default 1)");
inline constexpr Option From
    = choiceOption("from", "FORMAT", readFormatValues,
                   "the source's format, instead of telling it from the content");
inline constexpr Option To
    = choiceOption("to", "FORMAT", writeFormatValues,
                   "the format to write, instead of telling it from -o's extension");
inline constexpr Option Charset = textOption(
    "charset", "NAME",
    "the character set the font's codes are in: any single-byte set iconv knows (cp437, cp850, "
    "koi8-r, iso8859-15; 'iconv -l' lists them); default latin1 (ISO 8859-1)");
inline constexpr Option Codes
    = textOption("codes", "FIRST-LAST",
                 "only the characters FIRST to LAST, inclusive (decimal or 0x hex; default "
                 "0-255); each keeps its own code");
inline constexpr Option Target = choiceOption<TargetValues>(
    "target",
    "the PIC family the assembler table is for: pic18 (db lines, read with table reads; the "
    "default) or pic16 (dt lines, one retlw each, for the 12- and 14-bit cores of PIC10, PIC12, "
    "PIC16 and PIC16F1 parts)");
inline constexpr Option Syntax = choiceOption<SyntaxValues>(
    "syntax",
    "the assembler the table is for: mpasm (MPASM's syntax, which gpasm assembles; the default) "
    "or pic-as (the MPLAB XC8 PIC Assembler of current MPLAB X: the table in a psect of its own, "
    "labels with colons, DB lines for pic18 and a retlw line per byte for pic16)");
// Their values are in their help, which names the displays each fits.
inline constexpr Option Layout = choiceOption(
    "layout", "ORDER", valuesOf<LayoutValues>,
    "the order of each glyph's bytes, as the display's controller wants them: rows (one byte a "
    "row from the top, bit 7 the leftmost pixel; the default and the .pf's own order: PIC "
    "overlays, ST7920, Adafruit GFX's drawBitmap, HD44780 with --width 5), rows-lsb (bit 0 the "
    "leftmost pixel: LED matrices and ROMs wired that way, XBM), columns (one byte a column from "
    "the left, bit 0 the top pixel: SSD1306, SH1106, PCD8544, KS0108, u8x8 tiles, the 5x7 tables "
    "of Adafruit GFX and many LCD drivers with --width 5) or columns-msb (bit 7 the top pixel)");
inline constexpr Option Width = numberOption(
    "width", "N", MinLayoutWidth, GlyphSize,
    "only the leftmost N columns of each glyph, 1 to 8 (default 8), for fonts drawn narrower "
    "than their cell: N bytes a character in columns layouts, each row's N pixels in its low N "
    "bits in rows layouts (the leftmost in bit N-1 for rows)");
inline constexpr Option Storage = choiceOption(
    "storage", "CLASS", valuesOf<StorageValues>,
    "where a C table lives: const (the default: in flash on ARM, PIC32 and most other chips, but "
    "copied into RAM on an AVR), progmem (avr-libc's PROGMEM, read with pgm_read_byte; for "
    "Arduino sketches and C++) or flash (avr-gcc's __flash, read as any array; C only)");

// Reading.
inline constexpr Option Offset
    = numberOption("offset", "N", 0, MaxSourceSize,
                   "where the font starts in raw bytes (decimal or 0x hex; implies --from raw)");
inline constexpr Option First
    = numberOption("first", "CODE", 0, CharacterCount - 1,
                   "the code of the first glyph in raw bytes, 0 to 255 (default 0; implies "
                   "--from raw)");
inline constexpr Option Count
    = numberOption("count", "N", 1, CharacterCount,
                   "how many glyphs to take from raw bytes (default as many as the data holds, "
                   "up to code 255; implies --from raw)");
// The bit order of raw rows, unrelated to transform's --flip, which turns glyphs over.
inline constexpr Option BitOrder = switchOption(
    "flip", "raw rows have bit 0 as the leftmost pixel, not bit 7 (implies --from raw)");
inline constexpr Option ByPosition
    = switchOption("by-position", "take a console font's first 256 glyphs in order, not through "
                                  "its Unicode table");
inline constexpr Option Size = numberOption(
    "size", "N", MinPixelSize, MaxPixelSize,
    "the height in pixels, from ascent to descent, that a scalable font (TrueType, OpenType, Type "
    "1) is drawn at, 2 to 64: 8 for a font that fills the 8x8 cell; 9 when its letters come out "
    "small, 7 when characters are clipped");
inline constexpr Option Ink = choiceOption<InkValues>(
    "ink", "which pixels of a sheet are ink: dark ones on light paper (the default) or light "
           "ones on dark");

// Checking.
inline constexpr Option Assemble = switchOption(
    "assemble", "also assemble the source with gpasm and compare the bytes it makes");
inline constexpr Option Processor
    = textOption("processor", "NAME",
                 "the processor --assemble assembles for, as gpasm names it (18f4550, 16f877a); "
                 "one of the target's family");
} // namespace Options
