#pragma once

#include "formats/characterset.h"
#include "formats/importresult.h"

#include <QByteArray>
#include <QByteArrayView>

// PC Screen Font, the Linux console's format, versions 1 and 2 (uncompressed here; gzip is
// undone before). Little-endian headers; glyph rows of whole bytes, bit 7 the leftmost pixel.
bool isPsf(QByteArrayView bytes);
// Glyphs up to 8x8, each at the top left of its cell. A font with a Unicode table gives each
// code the glyph whose entry holds the character that code is in the set (console fonts are in
// the console's own order); without a table, or by position, the first 256 glyphs in order.
ImportResult fontFromPsf(QByteArrayView bytes, const CharacterSet &charset = {},
                         bool byPosition = false);
// PSF 1, 256 glyphs of 8 bytes, with a Unicode table (mode 0x02) that gives each glyph its
// code's character in the set, so that setfont and the console know which glyph is which.
QByteArray psf1Bytes(const FontImage &font, const CharacterSet &charset = {});
