#pragma once

#include "core/asmexport.h"
#include "core/coderange.h"
#include "core/fontimage.h"
#include "core/glyphlayout.h"

#include <QByteArrayView>
#include <QString>

#include <array>
#include <optional>

struct AsmRead
{
    FontImage font {}; // the codes outside the table are blank
    // Where each character's line is (1-based), for messages about it.
    std::array<int, CharacterCount> lineOf {};
    CodeRange codes; // the lowest and highest label in the source
    PicTarget target = PicTarget::Pic18; // by the lines' directive, db or dt (DB or retlw)
    AsmSyntax syntax = AsmSyntax::Mpasm; // by the first line that is neither blank nor a comment
    int errorLine = 0; // 0 when all the lines were read
    QString error;
};

// Reads the "Char_NNN db ..." (or "dt", the pic16 target's) lines of an export back. Blank lines
// and comment lines (the header) are skipped; every other line must be the next character's
// line, in code order, with its byte values, and all use the same directive. In pic-as syntax
// (told by a GLOBAL or PSECT line, or a label's colon, first) the GLOBAL and PSECT lines come
// before the first label, and each "Char_NNN:" label is followed by its bytes in DB or
// retlw statements, on its own line or after it. Spacing, case and
// the trailing comment may differ from what the export writes, since the assembler accepts them
// alike. The lines must hold exactly the expected codes (by default all 256); without expected
// codes, any run of codes is read. Each character holds the glyph's bytes in the layout
// (bytesPerGlyph() of them), and only bits that are pixels of it.
AsmRead parseAsmSource(QByteArrayView source, std::optional<CodeRange> expected = CodeRange {},
                       const GlyphLayout &layout = {});
// Whether the first line that is neither blank nor a comment is a character line's label, or
// pic-as's GLOBAL or PSECT.
bool looksLikeAsmSource(QByteArrayView source);
