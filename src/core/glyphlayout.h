#pragma once

#include "core/charbitmap.h"
#include "core/coderange.h"
#include "core/fontimage.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// The order in which a display controller wants a glyph's bytes. The .pf file and the editor
// keep Rows at width 8 always; the others exist only in what is written for firmware.
enum class ByteOrder {
    Rows, // one byte per row, top first; bit 7 (at width 8) the leftmost pixel
    RowsLsb, // one byte per row, top first; bit 0 the leftmost pixel
    Columns, // one byte per column, left first; bit 0 the top pixel (SSD1306, PCD8544, KS0108)
    ColumnsMsb, // one byte per column, left first; bit 7 the top pixel
};

// How a glyph becomes bytes for firmware: an order, and how many of the cell's columns, from the
// left, are kept (for fonts drawn narrower than their cell). Rows keep 8 bytes a glyph, each
// holding its row's N pixels in the low N bits: with Rows the leftmost in bit N-1, with RowsLsb
// in bit 0. Columns write N bytes a glyph.
struct GlyphLayout
{
    ByteOrder order = ByteOrder::Rows;
    int width = GlyphSize; // 1 to 8

    bool isColumns() const { return order == ByteOrder::Columns || order == ByteOrder::ColumnsMsb; }
    // Rows at width 8: the .pf order, in which a glyph's bytes are its CharBitMap.
    bool isFileOrder() const { return order == ByteOrder::Rows && width == GlyphSize; }
    int bytesPerGlyph() const { return isColumns() ? width : GlyphSize; }
    friend bool operator==(const GlyphLayout &, const GlyphLayout &) = default;
};

inline constexpr int MinLayoutWidth = 1;

inline constexpr ByteOrder ByteOrders[]
    = {ByteOrder::Rows, ByteOrder::RowsLsb, ByteOrder::Columns, ByteOrder::ColumnsMsb};

// "rows", "rows-lsb", "columns", "columns-msb", as --layout takes them.
QString byteOrderName(ByteOrder order);
std::optional<ByteOrder> byteOrderNamed(QStringView name);

// "columns", or "columns at width 5", as messages name a layout.
QString layoutText(const GlyphLayout &layout);
// The layout that layoutText() names, or nothing.
std::optional<GlyphLayout> layoutNamed(QStringView text);
// One sentence for a file's header comment, without comment marks: "5 bytes per character, one
// per column from the left; bit 0 is the top pixel, a 1 bit is ink."
QString layoutSentence(const GlyphLayout &layout);

// A glyph's bytes in the layout: bytesPerGlyph() of them. Pixels right of the width are left out.
QByteArray glyphBytes(const CharBitMap &glyph, const GlyphLayout &layout);
// The glyph that bytes in the layout stand for, its columns right of the width blank. Bits that
// stand for no pixel of the width (bits 5 to 7 of a row at width 5) are ignored: use glyphBytes()
// on the result to see whether the bytes held any.
CharBitMap glyphFromBytes(QByteArrayView bytes, const GlyphLayout &layout);
// The glyph as the layout keeps it: its columns right of the width blank.
CharBitMap glyphWithin(const CharBitMap &glyph, const GlyphLayout &layout);
// The whole font as the layout keeps it.
FontImage fontWithin(const FontImage &font, const GlyphLayout &layout);

// The table firmware holds: the range's glyphs in code order, each in the layout.
QByteArray tableBytes(const FontImage &font, const CodeRange &codes, const GlyphLayout &layout);
