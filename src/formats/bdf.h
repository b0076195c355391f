#pragma once

#include "core/coderange.h"
#include "formats/characterset.h"
#include "formats/importresult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Bitmap fonts through FreeType: BDF, PCF and Windows FON/FNT alike.
bool looksLikeFreeTypeBitmapFont(QByteArrayView bytes);
// Each code takes the glyph of the character it is in the set, found through the font's Unicode
// map where it has one, else through its own set (a BDF or PCF registry, a Windows font's
// character set) where iconv knows it, else by the font's own codes. Each glyph is placed in the
// 8x8 cell by the font's ascent (the baseline is that many rows below the cell's top) and its own
// offsets. A font taller or wider than 8 pixels, or a glyph reaching outside the cell, is an
// error.
ImportResult fontFromFreeType(QByteArrayView bytes, const CharacterSet &charset = {});

// The font as BDF 2.1, 8x8 cells with the baseline BdfDescent rows above the bottom. Latin-1
// gives registry ISO8859-1 and each glyph's code as its ENCODING; any other set gives ISO10646-1
// and each glyph's character (-1 for a code without one). The family name keeps letters, digits
// and spaces of the given name. With a range, only its characters.
inline constexpr int BdfDescent = 1;
QByteArray bdfBytes(const FontImage &font, const QString &familyName,
                    const CharacterSet &charset = {}, const CodeRange &codes = {});
