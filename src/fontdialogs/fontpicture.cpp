#include "fontdialogs/fontpicture.h"

#include "glyphcell/glyphcolors.h"

namespace {
constexpr int GridColumns = 16;
} // namespace

QImage inkPicture(const InkImage &image)
{
    QImage picture(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < image.width; ++x)
            line[x] = image.ink(x, y) ? InkRgb : PaperRgb;
    }
    return picture;
}

QImage fontGridPicture(const FontImage &font, int scale)
{
    const int pitch = GlyphSize * scale + 1;
    const int side = GridColumns * pitch + 1;
    QImage picture(side, side, QImage::Format_RGB32);
    picture.fill(GridLineRgb);
    for (int code = 0; code < CharacterCount; ++code) {
        const CharBitMap glyph = glyphOf(font, code);
        const int left = (code % GridColumns) * pitch + 1;
        const int top = (code / GridColumns) * pitch + 1;
        for (int y = 0; y < GlyphSize * scale; ++y) {
            auto *line = reinterpret_cast<QRgb *>(picture.scanLine(top + y)) + left;
            const std::uint8_t row = glyph[static_cast<size_t>(y / scale)];
            for (int x = 0; x < GlyphSize * scale; ++x)
                line[x] = row & (0x80 >> (x / scale)) ? InkRgb : PaperRgb;
        }
    }
    return picture;
}
