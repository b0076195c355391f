#pragma once

#include "core/glyphlayout.h"
#include "formats/importresult.h"

#include <QByteArrayView>

#include <optional>

// Glyphs in code order at an offset of any file, each in a layout (8 row bytes with bit 7 the
// leftmost pixel, as a .pf holds them, by default): a ROM dump, a character ROM that holds part of
// the codes (32 to 127, say), or a binary that embeds a font. The bytes hold everything from the
// file's start up to at least the end of the glyphs taken.
struct RawSpan
{
    qint64 offset = 0;
    int first = 0; // the code of the first glyph in the data
    std::optional<int> count; // how many glyphs; as many as the data holds up to code 255
    GlyphLayout layout; // a narrower width fills the cell's left columns
};
ImportResult fontFromRaw(QByteArrayView bytes, const RawSpan &span);
