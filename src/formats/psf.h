#pragma once

#include "formats/importresult.h"

#include <QByteArray>
#include <QByteArrayView>

// PC Screen Font, the Linux console's format, versions 1 and 2 (uncompressed here; gzip is
// undone before). Little-endian headers; glyph rows of whole bytes, bit 7 the leftmost pixel.
bool isPsf(QByteArrayView bytes);
// 8x8 glyphs only, the first 256 by position; fewer leave the rest blank with a warning.
ImportResult fontFromPsf(QByteArrayView bytes);
// PSF 1: mode 0 (256 glyphs, no Unicode table), 8 bytes a glyph; what setfont loads.
QByteArray psf1Bytes(const FontImage &font);
