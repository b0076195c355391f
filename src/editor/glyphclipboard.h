#pragma once

#include "core/charbitmap.h"

#include <QImage>
#include <QMimeData>

#include <memory>

// What Copy puts on the clipboard: the character's picture, and beside it its bytes as an
// export's db line lists them, for pasting into source.
std::unique_ptr<QMimeData> glyphMimeData(const CharBitMap &glyph, const QImage &picture);
