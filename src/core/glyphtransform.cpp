#include "core/glyphtransform.h"

#include <algorithm>

namespace {
using Row = std::uint8_t;

// Moves every row's pixels sideways: right is towards bit 0.
Row movedSideways(Row row, Direction direction, int pixels, bool wrap)
{
    const unsigned value = row;
    const unsigned out = direction == Direction::Right ? value >> pixels : value << pixels;
    const unsigned back = direction == Direction::Right ? value << (GlyphSize - pixels)
                                                        : value >> (GlyphSize - pixels);
    return static_cast<Row>(wrap ? out | back : out);
}

CharBitMap moved(const CharBitMap &glyph, Direction direction, int pixels, bool wrap)
{
    pixels = std::clamp(pixels, 0, GlyphSize);
    CharBitMap out {};
    if (direction == Direction::Left || direction == Direction::Right) {
        for (int row = 0; row < GlyphSize; ++row)
            out[row] = movedSideways(glyph[row], direction, pixels, wrap);
        return out;
    }
    // Down: row r goes to r + pixels.
    const int step = direction == Direction::Down ? pixels : -pixels;
    for (int row = 0; row < GlyphSize; ++row) {
        int to = row + step;
        if (wrap)
            to = (to + GlyphSize) % GlyphSize;
        if (to >= 0 && to < GlyphSize)
            out[to] = glyph[row];
    }
    return out;
}

bool ink(const CharBitMap &glyph, int row, int column)
{
    return glyph[row] & columnBit(column);
}
} // namespace

CharBitMap shifted(const CharBitMap &glyph, Direction direction, int pixels)
{
    return moved(glyph, direction, pixels, false);
}

CharBitMap rolled(const CharBitMap &glyph, Direction direction, int pixels)
{
    return moved(glyph, direction, pixels % GlyphSize, true);
}

CharBitMap mirroredLeftRight(const CharBitMap &glyph)
{
    CharBitMap out {};
    for (int row = 0; row < GlyphSize; ++row) {
        for (int column = 0; column < GlyphSize; ++column) {
            if (ink(glyph, row, column))
                out[row] |= columnBit(GlyphSize - 1 - column);
        }
    }
    return out;
}

CharBitMap mirroredTopBottom(const CharBitMap &glyph)
{
    CharBitMap out = glyph;
    std::reverse(out.begin(), out.end());
    return out;
}

CharBitMap turnedClockwise(const CharBitMap &glyph, int quarterTurns)
{
    CharBitMap out = glyph;
    for (int turn = 0; turn < ((quarterTurns % 4) + 4) % 4; ++turn) {
        const CharBitMap before = out;
        out = {};
        // The pixel at (row, column) comes from the left column's bottom, upwards.
        for (int row = 0; row < GlyphSize; ++row) {
            for (int column = 0; column < GlyphSize; ++column) {
                if (ink(before, GlyphSize - 1 - column, row))
                    out[row] |= columnBit(column);
            }
        }
    }
    return out;
}

CharBitMap inverted(const CharBitMap &glyph)
{
    CharBitMap out {};
    for (int row = 0; row < GlyphSize; ++row)
        out[row] = static_cast<Row>(~glyph[row]);
    return out;
}

CharBitMap emboldened(const CharBitMap &glyph)
{
    CharBitMap out {};
    for (int row = 0; row < GlyphSize; ++row)
        out[row] = static_cast<Row>(glyph[row] | (glyph[row] >> 1));
    return out;
}

CharBitMap applied(const CharBitMap &glyph, const GlyphOperation &operation)
{
    switch (operation.kind) {
    case GlyphOperation::Kind::Shift:
        return shifted(glyph, operation.direction, operation.amount);
    case GlyphOperation::Kind::Roll:
        return rolled(glyph, operation.direction, operation.amount);
    case GlyphOperation::Kind::Flip:
        return operation.direction == Direction::Left || operation.direction == Direction::Right
                   ? mirroredLeftRight(glyph)
                   : mirroredTopBottom(glyph);
    case GlyphOperation::Kind::Rotate:
        return turnedClockwise(glyph, operation.amount);
    case GlyphOperation::Kind::Invert:
        return inverted(glyph);
    case GlyphOperation::Kind::Bold:
        return emboldened(glyph);
    }
    return glyph;
}

int transformFont(FontImage &font, const CodeRange &codes,
                  std::span<const GlyphOperation> operations)
{
    int changed = 0;
    for (int code = codes.first; code <= codes.last; ++code) {
        const CharBitMap before = glyphOf(font, code);
        CharBitMap after = before;
        for (const GlyphOperation &operation : operations)
            after = applied(after, operation);
        if (after != before) {
            setGlyph(font, code, after);
            ++changed;
        }
    }
    return changed;
}
