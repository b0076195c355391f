#pragma once

#include "core/coderange.h"
#include "core/fontimage.h"
#include "core/glyphlayout.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// The PIC families a table is written for. PIC18 program words hold two bytes each and are read
// with table reads, so the bytes go in "db" lines. The 12- and 14-bit cores (PIC10, PIC12, PIC16,
// PIC16F1) cannot read their own program words that way: each byte becomes a retlw instruction
// through "dt", and firmware calls into the table for it.
enum class PicTarget { Pic18, Pic16 };

QString picTargetName(PicTarget target); // "pic18", as --target takes it
std::optional<PicTarget> picTargetNamed(QStringView name);
// The directive of a target's character lines: "db" or "dt".
QByteArray tableDirective(PicTarget target);

// The font as PIC assembler source, as the editor's Export writes it: a comment header naming
// the font, then one 63-byte "Char_NNN<TAB><TAB>db<TAB>0x.., ...<TAB>; c" line per code, CR LF
// between lines and no line break after the last. 16,652 bytes plus the name's length.
QByteArray asmSource(const FontImage &font, const QString &fontName);

// The same for a target and the characters of a range. For PIC18 and all 256 codes it is the
// editor's text above. Otherwise the header also names the target and how firmware reads the
// table (pic16), and states the range (a subset); the character lines are the same, with "dt"
// for pic16, each keeping its own code in its label and comment. A layout other than the .pf's
// gives each line the glyph's bytes in that layout, which the header states.
QByteArray asmSource(const FontImage &font, const QString &fontName, PicTarget target,
                     const CodeRange &codes, const GlyphLayout &layout = {});

// The program memory one character's line takes, in the target's units (bytes on a PIC18,
// retlw words otherwise): a PIC18 db line fills whole words of two bytes, so an odd number of
// bytes gets a 0x00 after it.
int tableStride(PicTarget target, const GlyphLayout &layout);
