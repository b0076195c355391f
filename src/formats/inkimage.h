#pragma once

#include "formats/importresult.h"
#include "core/fontimage.h"

#include <QString>

#include <cstdint>
#include <vector>

// A picture reduced to ink and paper, one byte per pixel (1 ink, 0 paper), rows top to bottom.
struct InkImage
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    InkImage() = default;
    InkImage(int w, int h);
    bool ink(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] != 0; }
    void setInk(int x, int y) { pixels[static_cast<size_t>(y) * width + x] = 1; }
};

// Which pixels of a sheet are ink: dark ones on light paper, or light ones on dark paper.
enum class InkRule { Dark, Light };

// A pixel is ink when it is dark (luminance below one half), or for light ink not dark, and
// opaque (alpha above one half). Components 0 to 255 as stored, luminance weighted as Rec. 709.
bool isInk(int red, int green, int blue, int alpha, InkRule rule = InkRule::Dark);

// Sheets are 16 x 16 cells (128 x 128 pixels) or 32 x 8 cells (256 x 64) of 8 x 8 glyphs, or
// either at a whole multiple of that size; code 0 at the top left, rows of codes left to right.
inline constexpr int MaxScale = 32;

// The whole multiple a width and height make of a sheet (its layout in columns), or 0 when
// they make none.
struct SheetLayout
{
    int columns = 0;
    int scale = 0;
};
SheetLayout sheetLayoutFor(int width, int height);
// Why a picture of this size is no sheet, listing the sizes accepted, or an empty text.
QString sheetSizeError(int width, int height);

// Decoders check a picture's size before they decode its pixels: a reason it is refused, or an
// empty text.
using SizeCheck = QString (*)(int width, int height);

struct DecodedImage
{
    InkImage image;
    QString error; // empty when the picture was read
};

// A cell's glyph pixel is ink when most of the scale x scale pixels it covers are. A sheet
// mostly of ink is likely drawn the other way round: the result warns, naming --ink.
ImportResult fontFromSheet(const InkImage &sheet, InkRule rule = InkRule::Dark);
// The 16 x 16 sheet, cells side by side with no gaps or margins.
InkImage sheetOf(const FontImage &font, int scale);
// Lines of codes, each code its cell side by side, lines below each other; short lines end in
// paper. Width and height are the longest line's and the number of lines' cells.
InkImage textImage(const FontImage &font, const std::vector<std::vector<std::uint8_t>> &lines,
                   int scale);
// The largest picture the program writes, in pixels, so that a long text at a large scale
// fails with a message rather than exhausting memory.
inline constexpr qint64 MaxImagePixels = qint64(1) << 26;
// libpng's own limit on either side of a picture it writes (PNG_USER_WIDTH_MAX).
inline constexpr qint64 MaxImageSide = 1000000;
