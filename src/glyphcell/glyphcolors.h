#pragma once

#include <QColor>
#include <QPalette>

// A glyph is content, like a picture: black ink on white paper whatever the colour scheme, so
// that a font looks the same on every desktop and in the file it is saved to.
inline constexpr QRgb InkRgb = 0xFF000000;
inline constexpr QRgb PaperRgb = 0xFFFFFFFF;

// Cell borders and grid lines separate white paper (or black ink, or the green of the selected
// cell) from the window around them: a dark grey on a light window, a light grey on a dark one,
// so that the line stands out from both of its neighbours in either scheme.
inline QColor outlineColor(const QPalette &palette)
{
    constexpr int MidLightness = 128;
    return palette.color(QPalette::Window).lightness() >= MidLightness ? QColor(0x55, 0x55, 0x55)
                                                                       : QColor(0x99, 0x99, 0x99);
}
