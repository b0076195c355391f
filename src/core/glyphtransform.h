#pragma once

#include "core/coderange.h"
#include "core/fontimage.h"

#include <span>

// Moving, mirroring, turning and emboldening glyphs, one at a time or over a range of a font.
// Rows and columns as CharBitMap has them: row 0 at the top, bit 7 the leftmost pixel.

enum class Direction { Up, Down, Left, Right };

// Pixels that leave the cell are lost and the ones that come in are paper.
CharBitMap shifted(const CharBitMap &glyph, Direction direction, int pixels);
// The same, but what leaves one edge comes back at the other.
CharBitMap rolled(const CharBitMap &glyph, Direction direction, int pixels);
CharBitMap mirroredLeftRight(const CharBitMap &glyph);
CharBitMap mirroredTopBottom(const CharBitMap &glyph);
// Turned clockwise by a number of quarter turns: one turn takes the top row to the right column.
CharBitMap turnedClockwise(const CharBitMap &glyph, int quarterTurns);
CharBitMap inverted(const CharBitMap &glyph);
// Each row ORed with itself one pixel to the right, the classic bold of an 8x8 font; ink in the
// rightmost column does not spread out of the cell.
CharBitMap emboldened(const CharBitMap &glyph);

struct GlyphOperation
{
    enum class Kind { Shift, Roll, Flip, Rotate, Invert, Bold };
    Kind kind = Kind::Invert;
    Direction direction = Direction::Up; // Shift, Roll; Flip: Left or Right is horizontal
    int amount = 1; // Shift, Roll: pixels; Rotate: clockwise quarter turns
};

CharBitMap applied(const CharBitMap &glyph, const GlyphOperation &operation);

// Applies the operations in order to every glyph of the range; returns how many glyphs changed.
int transformFont(FontImage &font, const CodeRange &codes,
                  std::span<const GlyphOperation> operations);
