#include "core/glyphlayout.h"

namespace {
// Weight of pixel `index` (0 = leftmost column, or the top row) within a byte of the layout:
// rows count their N pixels down from bit N-1 (Rows) or up from bit 0 (RowsLsb); columns their 8
// pixels up from bit 0 (Columns) or down from bit 7 (ColumnsMsb).
std::uint8_t pixelBit(const GlyphLayout &layout, int index)
{
    switch (layout.order) {
    case ByteOrder::Rows:
        return static_cast<std::uint8_t>(1u << (layout.width - 1 - index));
    case ByteOrder::RowsLsb:
    case ByteOrder::Columns:
        return static_cast<std::uint8_t>(1u << index);
    case ByteOrder::ColumnsMsb:
        break;
    }
    return static_cast<std::uint8_t>(0x80u >> index);
}

bool ink(const CharBitMap &glyph, int row, int column)
{
    return glyph[static_cast<size_t>(row)] & columnBit(column);
}
} // namespace

QString byteOrderName(ByteOrder order)
{
    switch (order) {
    case ByteOrder::Rows:
        return QStringLiteral("rows");
    case ByteOrder::RowsLsb:
        return QStringLiteral("rows-lsb");
    case ByteOrder::Columns:
        return QStringLiteral("columns");
    case ByteOrder::ColumnsMsb:
        break;
    }
    return QStringLiteral("columns-msb");
}

std::optional<ByteOrder> byteOrderNamed(QStringView name)
{
    for (const ByteOrder order : ByteOrders) {
        if (name.compare(byteOrderName(order), Qt::CaseInsensitive) == 0)
            return order;
    }
    return std::nullopt;
}

QString layoutText(const GlyphLayout &layout)
{
    if (layout.width == GlyphSize)
        return byteOrderName(layout.order);
    return QStringLiteral("%1 at width %2").arg(byteOrderName(layout.order)).arg(layout.width);
}

std::optional<GlyphLayout> layoutNamed(QStringView text)
{
    const qsizetype at = text.indexOf(u" at width ");
    const std::optional<ByteOrder> order = byteOrderNamed(at < 0 ? text : text.left(at));
    if (!order)
        return std::nullopt;
    if (at < 0)
        return GlyphLayout {*order, GlyphSize};
    bool ok = false;
    const int width = text.sliced(at + 10).toInt(&ok);
    if (!ok || width < MinLayoutWidth || width >= GlyphSize)
        return std::nullopt;
    return GlyphLayout {*order, width};
}

QString layoutSentence(const GlyphLayout &layout)
{
    const int n = layout.width;
    QString text = QStringLiteral("%1 byte%2 per character, one per %3")
                       .arg(QString::number(layout.bytesPerGlyph()),
                            layout.bytesPerGlyph() == 1 ? QString() : QStringLiteral("s"),
                            layout.isColumns() ? QStringLiteral("column from the left")
                                               : QStringLiteral("row from the top"));
    if (layout.isColumns() && n < GlyphSize)
        text += QStringLiteral(" (the %1 leftmost of 8)").arg(n);
    if (!layout.isColumns() && n < GlyphSize)
        text += QStringLiteral(", holding the row's %1 leftmost pixel%2 in bit%2 %3 to %4")
                    .arg(QString::number(n), n == 1 ? QString() : QStringLiteral("s"),
                         QString::number(layout.order == ByteOrder::Rows ? n - 1 : 0),
                         QString::number(layout.order == ByteOrder::Rows ? 0 : n - 1));
    const int edgeBit = layout.order == ByteOrder::Rows         ? n - 1
                        : layout.order == ByteOrder::ColumnsMsb ? 7
                                                                : 0;
    return text
           + QStringLiteral("; bit %1 is the %2 pixel, a 1 bit is ink.")
                 .arg(QString::number(edgeBit),
                      layout.isColumns() ? QStringLiteral("top") : QStringLiteral("leftmost"));
}

QByteArray glyphBytes(const CharBitMap &glyph, const GlyphLayout &layout)
{
    Q_ASSERT(layout.width >= MinLayoutWidth && layout.width <= GlyphSize);
    QByteArray bytes(layout.bytesPerGlyph(), '\0');
    for (int row = 0; row < GlyphSize; ++row) {
        for (int column = 0; column < layout.width; ++column) {
            if (!ink(glyph, row, column))
                continue;
            if (layout.isColumns())
                bytes[column] = static_cast<char>(bytes[column] | pixelBit(layout, row));
            else
                bytes[row] = static_cast<char>(bytes[row] | pixelBit(layout, column));
        }
    }
    return bytes;
}

CharBitMap glyphFromBytes(QByteArrayView bytes, const GlyphLayout &layout)
{
    Q_ASSERT(bytes.size() == layout.bytesPerGlyph());
    CharBitMap glyph {};
    for (int row = 0; row < GlyphSize; ++row) {
        for (int column = 0; column < layout.width; ++column) {
            const bool set = layout.isColumns() ? bytes[column] & pixelBit(layout, row)
                                                : bytes[row] & pixelBit(layout, column);
            if (set)
                glyph[static_cast<size_t>(row)] |= columnBit(column);
        }
    }
    return glyph;
}

CharBitMap glyphWithin(const CharBitMap &glyph, const GlyphLayout &layout)
{
    // Keeps the columns 0 to width-1, which are bits 7 down to 8-width.
    const auto kept = static_cast<std::uint8_t>(0xFFu << (GlyphSize - layout.width));
    CharBitMap within = glyph;
    for (std::uint8_t &row : within)
        row &= kept;
    return within;
}

FontImage fontWithin(const FontImage &font, const GlyphLayout &layout)
{
    FontImage within = font;
    for (int code = 0; code < CharacterCount; ++code)
        setGlyph(within, code, glyphWithin(glyphOf(font, code), layout));
    return within;
}

QByteArray tableBytes(const FontImage &font, const CodeRange &codes, const GlyphLayout &layout)
{
    QByteArray table;
    table.reserve(codes.count() * layout.bytesPerGlyph());
    for (int code = codes.first; code <= codes.last; ++code)
        table += glyphBytes(glyphOf(font, code), layout);
    return table;
}
