#pragma once

#include "core/charbitmap.h"

// What the pixel editor's tools do to the character being edited. A square is numbered as the
// grid shows it: 8 * row + column, row 0 at the top and column 0 at the left (bit 7).

bool isInk(const CharBitMap &glyph, int square);
CharBitMap withPixel(const CharBitMap &glyph, int square, bool ink);
CharBitMap toggled(const CharBitMap &glyph, int square);
// Paste toggles every square whose bit the buffer sets: on a blank grid that shows the buffer,
// otherwise the grid becomes the exclusive-or of the two.
CharBitMap pasted(const CharBitMap &grid, const CharBitMap &buffer);
