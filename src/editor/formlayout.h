#pragma once

#include "core/charbitmap.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <array>

// Where start-up puts the palette and the editor panel, in twips, for given twips-per-pixel
// factors of the screen.
struct FormLayout
{
    std::array<QRectF, CharacterCount> cells;
    double clientWidth = 0;
    double clientHeight = 0;
    QPointF panelPos;
};

// Cells 30 to a row, 18 x 18 pixels each with a 1-pixel gap; the client area as wide as the
// first row (or the panel, if wider); the panel centred 10 pixels below the palette.
FormLayout layoutForm(double twipsPerPixelX, double twipsPerPixelY, QSizeF panelSize);

inline constexpr int CellsPerRow = 30;
