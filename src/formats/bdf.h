#pragma once

#include "core/coderange.h"
#include "formats/importresult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Bitmap fonts through FreeType: BDF, PCF and Windows FON/FNT alike.
bool looksLikeFreeTypeBitmapFont(QByteArrayView bytes);
// Codes 0 to 255 through the font's character map, each glyph placed in the 8x8 cell by the
// font's ascent (the baseline is that many rows below the cell's top) and its own offsets.
// A font taller or wider than 8 pixels, or a glyph reaching outside the cell, is an error.
ImportResult fontFromFreeType(QByteArrayView bytes);

// The font as BDF 2.1: ISO 8859-1 codes 0 to 255, 8x8 cells with the baseline BdfDescent rows
// above the bottom. The family name keeps letters, digits and spaces of the given name. With a
// range, only its characters, each at its own code.
inline constexpr int BdfDescent = 1;
QByteArray bdfBytes(const FontImage &font, const QString &familyName, const CodeRange &codes = {});
