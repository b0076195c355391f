#include "core/fontimage.h"

#include <algorithm>

FontImage fontImageFromBytes(QByteArrayView bytes)
{
    FontImage font {};
    const auto count = std::min<qsizetype>(bytes.size(), FontFileSize);
    std::copy_n(reinterpret_cast<const std::uint8_t *>(bytes.data()), count, font.begin());
    return font;
}

QByteArray fontFileBytes(const FontImage &font)
{
    return QByteArray(reinterpret_cast<const char *>(font.data()), FontFileSize);
}

CharBitMap glyphOf(const FontImage &font, int code)
{
    CharBitMap glyph {};
    std::copy_n(font.begin() + code * GlyphSize, GlyphSize, glyph.begin());
    return glyph;
}

void setGlyph(FontImage &font, int code, const CharBitMap &glyph)
{
    std::copy(glyph.begin(), glyph.end(), font.begin() + code * GlyphSize);
}
