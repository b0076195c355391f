#pragma once

#include <QColor>
#include <QPalette>

// A glyph is content, like a picture: black ink on white paper whatever the colour scheme, so
// that a font looks the same on every desktop and in the file it is saved to.
inline constexpr QRgb InkRgb = 0xFF000000;
inline constexpr QRgb PaperRgb = 0xFFFFFFFF;

// Cell borders separate white paper (or black ink, or the green of the selected cell) from the
// window around them: a dark grey on a light window, a light grey on a dark one, so that the line
// stands out from both of its neighbours in either scheme.
inline QColor outlineColor(const QPalette &palette)
{
    constexpr int MidLightness = 128;
    return palette.color(QPalette::Window).lightness() >= MidLightness ? QColor(0x55, 0x55, 0x55)
                                                                       : QColor(0x99, 0x99, 0x99);
}

// The pixel editor's grid lines are all that separates two clear squares, or two ink squares,
// and the grid's frame separates it from the window: lines that tell controls apart need 3:1
// against both sides (WCAG 2.1, 1.4.11). This mid grey has 4.5:1 against white and black, 3.9:1
// on a light window (#EFEFEF) and 3.6:1 on a dark one (#222020), so the grid, like the glyphs,
// looks the same in every scheme.
inline constexpr QRgb GridLineRgb = 0xFF767676;
