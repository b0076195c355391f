#pragma once

#include "core/charbitmap.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <cstdint>

// A whole font as a .pf file holds it: 256 records of 8 bytes in code order, no header.
// Byte 8 * code + row is that row of that character.
inline constexpr int FontFileSize = CharacterCount * GlyphSize;
using FontImage = std::array<std::uint8_t, FontFileSize>;

// Any content is a font: missing bytes are zero, bytes past 2,048 are ignored.
FontImage fontImageFromBytes(QByteArrayView bytes);
QByteArray fontFileBytes(const FontImage &font);

CharBitMap glyphOf(const FontImage &font, int code);
void setGlyph(FontImage &font, int code, const CharBitMap &glyph);
