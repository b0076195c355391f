#include "core/glyphedit.h"

bool isInk(const CharBitMap &glyph, int square)
{
    return (glyph.at(square / GlyphSize) & columnBit(square % GlyphSize)) != 0;
}

CharBitMap withPixel(const CharBitMap &glyph, int square, bool ink)
{
    CharBitMap result = glyph;
    std::uint8_t &row = result.at(square / GlyphSize);
    const std::uint8_t bit = columnBit(square % GlyphSize);
    row = static_cast<std::uint8_t>(ink ? row | bit : row & ~bit);
    return result;
}

CharBitMap toggled(const CharBitMap &glyph, int square)
{
    return withPixel(glyph, square, !isInk(glyph, square));
}

CharBitMap pasted(const CharBitMap &grid, const CharBitMap &buffer)
{
    CharBitMap result {};
    for (int r = 0; r < GlyphSize; ++r)
        result[r] = static_cast<std::uint8_t>(grid[r] ^ buffer[r]);
    return result;
}
