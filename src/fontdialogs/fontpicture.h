#pragma once

#include "core/fontimage.h"
#include "formats/inkimage.h"

#include <QImage>

// Pictures of ink images and fonts as the dialogs show them: black ink on white paper in every
// colour scheme, as the glyph cells draw them.
QImage inkPicture(const InkImage &image);

// The 256 glyphs as a 16 x 16 grid: each glyph pixel scale x scale screen pixels, the cells one
// grid line apart and framed by one.
QImage fontGridPicture(const FontImage &font, int scale);
