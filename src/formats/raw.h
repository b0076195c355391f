#pragma once

#include "formats/importresult.h"

#include <QByteArrayView>

#include <optional>

// Glyphs of 8 bytes each in code order at an offset of any file: a ROM dump, a character ROM
// that holds part of the codes (32 to 127, say), or a binary that embeds a font. The bytes hold
// everything from the file's start up to at least the end of the glyphs taken.
struct RawSpan
{
    qint64 offset = 0;
    int first = 0; // the code of the first glyph in the data
    std::optional<int> count; // how many glyphs; as many as the data holds up to code 255
    bool bit0Left = false; // bit 0 is the leftmost pixel, as some ROMs store their rows
};
ImportResult fontFromRaw(QByteArrayView bytes, const RawSpan &span);
