#include "formats/inkimage.h"

#include <algorithm>

namespace {
constexpr int SquareCells = 16; // 16 x 16 cells: 128 x 128 pixels
constexpr int WideColumns = 32; // 32 x 8 cells: 256 x 64 pixels
} // namespace

InkImage::InkImage(int w, int h)
    : width(w)
    , height(h)
    , pixels(static_cast<size_t>(w) * static_cast<size_t>(h), 0)
{ }

bool isInk(int red, int green, int blue, int alpha, InkRule rule)
{
    // Twice the threshold on the 0..255 scale, in integers: 0.5 * 255 * 10000 * 2.
    const int luminance = 2126 * red + 7152 * green + 722 * blue;
    const bool dark = 2 * luminance < 255 * 10000;
    return (rule == InkRule::Dark) == dark && 2 * alpha > 255;
}

SheetLayout sheetLayoutFor(int width, int height)
{
    for (const int columns : {SquareCells, WideColumns}) {
        const int rows = CharacterCount / columns;
        const int baseWidth = columns * GlyphSize;
        const int baseHeight = rows * GlyphSize;
        if (width > 0 && width % baseWidth == 0 && height == width / baseWidth * baseHeight
            && width / baseWidth <= MaxScale)
            return {columns, width / baseWidth};
    }
    return {};
}

QString sheetSizeError(int width, int height)
{
    if (sheetLayoutFor(width, height).columns != 0)
        return {};
    return QStringLiteral("the image is %1 x %2 pixels; a sheet is 128 x 128 (16 x 16 cells) or "
                          "256 x 64 (32 x 8 cells), or a whole multiple of either up to %3 "
                          "times.")
        .arg(width)
        .arg(height)
        .arg(MaxScale);
}

ImportResult fontFromSheet(const InkImage &sheet, InkRule rule)
{
    const QString sizeError = sheetSizeError(sheet.width, sheet.height);
    if (!sizeError.isEmpty())
        return ImportResult::failure(sizeError);
    const SheetLayout layout = sheetLayoutFor(sheet.width, sheet.height);
    const int scale = layout.scale;
    ImportResult result;
    for (int code = 0; code < CharacterCount; ++code) {
        const int left = code % layout.columns * GlyphSize * scale;
        const int top = code / layout.columns * GlyphSize * scale;
        CharBitMap glyph {};
        for (int row = 0; row < GlyphSize; ++row) {
            for (int column = 0; column < GlyphSize; ++column) {
                int inked = 0;
                for (int y = 0; y < scale; ++y)
                    for (int x = 0; x < scale; ++x)
                        inked += sheet.ink(left + column * scale + x, top + row * scale + y);
                if (2 * inked > scale * scale)
                    glyph[row] |= columnBit(column);
            }
        }
        setGlyph(result.font, code, glyph);
    }
    result.description = QStringLiteral("%1 x %2 cells of 8x8, %3 pixels per glyph pixel")
                             .arg(layout.columns)
                             .arg(CharacterCount / layout.columns)
                             .arg(scale);
    result.byPosition = CharacterCount;
    // Glyphs are mostly paper: a sheet mostly of ink is likely drawn the other way round.
    const auto inked = std::count(sheet.pixels.begin(), sheet.pixels.end(), 1);
    if (2 * qint64(inked) > qint64(sheet.pixels.size())) {
        result.warnings.append(
            QStringLiteral("%1 % of the sheet's pixels are ink: it may be drawn %2; if so, read "
                           "its %3 pixels as ink.")
                .arg(qint64(inked) * 100 / qint64(sheet.pixels.size()))
                .arg(rule == InkRule::Dark ? QStringLiteral("light on dark")
                                           : QStringLiteral("dark on light"),
                     rule == InkRule::Dark ? QStringLiteral("light") : QStringLiteral("dark")));
        result.remedy = rule == InkRule::Dark ? ImportResult::Remedy::LightInk
                                              : ImportResult::Remedy::DarkInk;
    }
    return result;
}

namespace {
void drawGlyph(InkImage &image, const CharBitMap &glyph, int left, int top, int scale)
{
    for (int row = 0; row < GlyphSize; ++row)
        for (int column = 0; column < GlyphSize; ++column)
            if (glyph[row] & columnBit(column))
                for (int y = 0; y < scale; ++y)
                    for (int x = 0; x < scale; ++x)
                        image.setInk(left + column * scale + x, top + row * scale + y);
}
} // namespace

InkImage sheetOf(const FontImage &font, int scale)
{
    const int cell = GlyphSize * scale;
    InkImage image(SquareCells * cell, CharacterCount / SquareCells * cell);
    for (int code = 0; code < CharacterCount; ++code)
        drawGlyph(image, glyphOf(font, code), code % SquareCells * cell, code / SquareCells * cell,
                  scale);
    return image;
}

InkImage textImage(const FontImage &font, const std::vector<std::vector<std::uint8_t>> &lines,
                   int scale)
{
    size_t longest = 0;
    for (const auto &line : lines)
        longest = std::max(longest, line.size());
    const int cell = GlyphSize * scale;
    InkImage image(static_cast<int>(longest) * cell, static_cast<int>(lines.size()) * cell);
    for (size_t row = 0; row < lines.size(); ++row)
        for (size_t column = 0; column < lines[row].size(); ++column)
            drawGlyph(image, glyphOf(font, lines[row][column]), static_cast<int>(column) * cell,
                      static_cast<int>(row) * cell, scale);
    return image;
}
