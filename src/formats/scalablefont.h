#pragma once

#include "formats/characterset.h"
#include "formats/importresult.h"

#include <QByteArrayView>

#include <optional>

// Scalable fonts through FreeType: TrueType, OpenType (and collections of either) and Type 1.
bool looksLikeScalableFont(QByteArrayView bytes);

// The sizes a scalable font is drawn at: its height in pixels from its ascent to its descent.
// Above 64 nothing of a letter fits in 8 rows.
inline constexpr int MinPixelSize = 2;
inline constexpr int MaxPixelSize = 64;

// Draws each code's character (through the font's Unicode map, at the character it is in the
// set) in monochrome at the size with the font's hinting, and places the whole font on one
// baseline in the 8x8 cell. Ink outside the cell is cut off and its codes listed in clipped; the
// codes without a glyph in uncovered; both are also named in the warnings. Without a size it says
// that the font is scalable and how to choose one.
ImportResult fontFromScalable(QByteArrayView bytes, const CharacterSet &charset,
                              std::optional<int> pixelSize);

// A glyph's ink by rows, counted upwards from the baseline (0 the first row above it, -1 the
// first below): pixels[i] inked pixels in row bottom + i.
struct InkRows
{
    int bottom = 0;
    QList<int> pixels;

    int top() const { return bottom + int(pixels.size()); } // the row above the highest inked
};

// The baseline of a font whose glyphs' ink lies in those rows: how many of the cell's 8 rows
// lie above it. The letters (Latin letters and digits) decide: where they fit together, any
// baseline that keeps them all whole; where they do not, the one that cuts the fewest of their
// pixels. Among those, the one that cuts the fewest pixels of all the glyphs, then the one
// nearest preferred (the font's own ascent in the cell).
int baselineRows(const QList<InkRows> &letters, const QList<InkRows> &all, int preferred);
