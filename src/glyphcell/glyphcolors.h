#pragma once

#include <QColor>

// A glyph is content, like a picture: black ink on white paper whatever the colour scheme, so
// that a font looks the same on every desktop and in the file it is saved to.
inline constexpr QRgb InkRgb = 0xFF000000;
inline constexpr QRgb PaperRgb = 0xFFFFFFFF;

// Cell borders, the pixel editor's grid lines and the grid's frame are what tells a cell or a
// square from its neighbours: white paper, black ink, the green of the selected cell and the
// window around them. Lines that tell controls apart need 3:1 against both sides (WCAG 2.1,
// 1.4.11). This mid grey has 4.5:1 against white and black, 3.3:1 against the green, 3.9:1 on a
// light window (#EFEFEF) and 3.6:1 on a dark one (#222020), so cells and grid, like the glyphs,
// look the same in every scheme.
inline constexpr QRgb GridLineRgb = 0xFF767676;
