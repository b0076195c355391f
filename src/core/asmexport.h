#pragma once

#include "core/coderange.h"
#include "core/fontimage.h"
#include "core/glyphlayout.h"

#include <QByteArray>
#include <QString>

// The PIC families a table is written for. PIC18 program words hold two bytes each and are read
// with table reads, so the bytes go in "db" lines. The 12- and 14-bit cores (PIC10, PIC12, PIC16,
// PIC16F1) cannot read their own program words that way: each byte becomes a retlw instruction
// through "dt", and firmware calls into the table for it.
enum class PicTarget { Pic18, Pic16 };

// The assembler a table is written for. MPASM's syntax is the one gpasm assembles, and the
// editor's Export writes. The MPLAB XC8 PIC Assembler (pic-as), the one current MPLAB X ships, has
// no dt, wants a colon after each label and places everything in a psect: its table is a psect of
// its own, with DB lines for PIC18 and a retlw line per byte for the 12- and 14-bit cores.
enum class AsmSyntax { Mpasm, PicAs };

QString asmSyntaxName(AsmSyntax syntax); // "mpasm", "pic-as", as --syntax takes it

QString picTargetName(PicTarget target); // "pic18", as --target takes it
// The directive of a target's character lines: "db" or "dt"; in pic-as syntax "DB" or "retlw".
QByteArray tableDirective(PicTarget target, AsmSyntax syntax = AsmSyntax::Mpasm);

// The font as PIC assembler source, as the editor's Export writes it: a comment header naming
// the font, then one 63-byte "Char_NNN<TAB><TAB>db<TAB>0x.., ...<TAB>; c" line per code, CR LF
// between lines and no line break after the last. 16,652 bytes plus the name's length.
QByteArray asmSource(const FontImage &font, const QString &fontName);

// What an assembler table is written for: the family, the characters, the assembler and the
// order and width of each glyph's bytes. The defaults are the editor's Export.
struct AsmTable
{
    PicTarget target = PicTarget::Pic18;
    CodeRange codes;
    AsmSyntax syntax = AsmSyntax::Mpasm;
    GlyphLayout layout;
};

// The same for a table. For PIC18 and all 256 codes in MPASM syntax and the .pf's layout it is
// the editor's text above. Otherwise the header also names the target and how firmware reads the
// table (pic16), and states the range (a subset); the character lines are the same, with "dt"
// for pic16, each keeping its own code in its label and comment. A layout other than the .pf's
// gives each character the glyph's bytes in that layout, which the header states.
//
// In pic-as syntax the header also says so, the first label is made GLOBAL and the table opens
// a psect of its own (PicAsPsect); each label takes a colon, and a pic16 table has a "retlw"
// line per byte, the first of a character's bytes after its label. Lines end in CR LF, the last
// one too.
QByteArray asmSource(const FontImage &font, const QString &fontName, const AsmTable &table);

// The program memory one character takes, in the target's units (bytes on a PIC18, retlw words
// otherwise). MPASM's db fills whole program words of two bytes on a PIC18, so a line of an odd
// number of bytes gets a 0x00 after it; pic-as's DB places one byte to an address and pads
// nothing.
int tableStride(const AsmTable &table);

// The psect a pic-as table is placed in.
inline constexpr char PicAsPsect[] = "glyphFont";
