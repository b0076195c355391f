#pragma once

#include "core/asmexport.h"
#include "core/coderange.h"
#include "core/fontimage.h"

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
    PicTarget target = PicTarget::Pic18; // by the lines' directive, db or dt
    int errorLine = 0; // 0 when all the lines were read
    QString error;
};

// Reads the "Char_NNN db ..." (or "dt", the pic16 target's) lines of an export back. Blank lines
// and comment lines (the header) are skipped; every other line must be the next character's
// line, in code order, with eight byte values, and all use the same directive. Spacing, case and
// the trailing comment may differ from what the export writes, since the assembler accepts them
// alike. The lines must hold exactly the expected codes (by default all 256); without expected
// codes, any run of codes is read.
AsmRead parseAsmSource(QByteArrayView source, std::optional<CodeRange> expected = CodeRange {});
// Whether the first line that is neither blank nor a comment is a character line's label.
bool looksLikeAsmSource(QByteArrayView source);
