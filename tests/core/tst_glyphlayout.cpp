#include "core/glyphlayout.h"
#include "support/support.h"

#include <QTest>

namespace {
// "F" of the classic 5x7 tables, drawn in the cell's 5 left columns.
constexpr CharBitMap LetterF {0xF8, 0x80, 0x80, 0xF0, 0x80, 0x80, 0x80, 0x00};

// The pixels of a glyph as a grid of characters, read from the row bytes as the editor draws
// them: '#' at [row][column], column 0 being bit 7.
QList<QByteArray> grid(const CharBitMap &glyph)
{
    QList<QByteArray> rows;
    for (const std::uint8_t value : glyph) {
        QByteArray row;
        for (int bit = 7; bit >= 0; --bit)
            row += (value >> bit) & 1 ? '#' : '.';
        rows.append(row);
    }
    return rows;
}

// The layout's bytes built another way: from the grid, each byte's bits named one by one as the
// layouts describe them.
QByteArray transposed(const CharBitMap &glyph, const GlyphLayout &layout)
{
    const QList<QByteArray> pixels = grid(glyph);
    QByteArray out;
    if (layout.isColumns()) {
        for (int column = 0; column < layout.width; ++column) {
            int value = 0;
            for (int row = 0; row < 8; ++row) {
                const int bit = layout.order == ByteOrder::Columns ? row : 7 - row;
                if (pixels[row][column] == '#')
                    value += 1 << bit;
            }
            out += static_cast<char>(value);
        }
        return out;
    }
    for (int row = 0; row < 8; ++row) {
        int value = 0;
        for (int column = 0; column < layout.width; ++column) {
            const int bit = layout.order == ByteOrder::Rows ? layout.width - 1 - column : column;
            if (pixels[row][column] == '#')
                value += 1 << bit;
        }
        out += static_cast<char>(value);
    }
    return out;
}
} // namespace

Q_DECLARE_METATYPE(CharBitMap)
Q_DECLARE_METATYPE(GlyphLayout)

// A glyph's bytes in the order each display controller wants, and back.
class TestGlyphLayout final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void knownTables_data();
    void knownTables();
    void randomGlyphsAgainstTransposition_data();
    void randomGlyphsAgainstTransposition();
    void bitsOutsideTheWidthAreIgnored();
};

void TestGlyphLayout::knownTables_data()
{
    QTest::addColumn<CharBitMap>("glyph");
    QTest::addColumn<GlyphLayout>("layout");
    QTest::addColumn<QByteArray>("expected");
    const CharBitMap f = LetterF;
    QTest::newRow("rows: the .pf bytes")
        << f << GlyphLayout {} << QByteArray::fromHex("F88080F080808000");
    QTest::newRow("rows-lsb") << f << GlyphLayout {ByteOrder::RowsLsb, 8}
                              << QByteArray::fromHex("1F01010F01010100");
    // HD44780 character generator RAM: 5 pixels in bits 4 to 0.
    QTest::newRow("rows 5: HD44780")
        << f << GlyphLayout {ByteOrder::Rows, 5} << QByteArray::fromHex("1F10101E10101000");
    QTest::newRow("rows-lsb 5") << f << GlyphLayout {ByteOrder::RowsLsb, 5}
                                << QByteArray::fromHex("1F01010F01010100");
    // Adafruit GFX's glcdfont.c has "F" as 0x7F, 0x09, 0x09, 0x09, 0x01.
    QTest::newRow("columns 5: the 5x7 table")
        << f << GlyphLayout {ByteOrder::Columns, 5} << QByteArray::fromHex("7F09090901");
    QTest::newRow("columns: SSD1306")
        << f << GlyphLayout {ByteOrder::Columns, 8} << QByteArray::fromHex("7F09090901000000");
    QTest::newRow("columns-msb 5")
        << f << GlyphLayout {ByteOrder::ColumnsMsb, 5} << QByteArray::fromHex("FE90909080");
    QTest::newRow("columns, A") << CapitalA << GlyphLayout {ByteOrder::Columns, 8}
                                << QByteArray::fromHex("007C0A09090A7C00");
    QTest::newRow("columns 1") << f << GlyphLayout {ByteOrder::Columns, 1}
                               << QByteArray::fromHex("7F");
    QTest::newRow("rows 1") << f << GlyphLayout {ByteOrder::Rows, 1}
                            << QByteArray::fromHex("0101010101010100");
}

void TestGlyphLayout::knownTables()
{
    QFETCH(CharBitMap, glyph);
    QFETCH(GlyphLayout, layout);
    QFETCH(QByteArray, expected);
    QCOMPARE(glyphBytes(glyph, layout), expected);
    QCOMPARE(glyphFromBytes(expected, layout), glyphWithin(glyph, layout));
}

void TestGlyphLayout::randomGlyphsAgainstTransposition_data()
{
    QTest::addColumn<GlyphLayout>("layout");
    for (const ByteOrder order : ByteOrders) {
        for (int width = MinLayoutWidth; width <= GlyphSize; ++width)
            QTest::addRow("%s %d", qPrintable(byteOrderName(order)), width)
                << GlyphLayout {order, width};
    }
}

// Every glyph of a random font gives the transposition's bytes and comes back from them with its
// columns right of the width blank.
void TestGlyphLayout::randomGlyphsAgainstTransposition()
{
    QFETCH(GlyphLayout, layout);
    const FontImage font = randomFont(quint32(int(layout.order) * 16 + layout.width));
    for (int code = 0; code < CharacterCount; ++code) {
        const CharBitMap glyph = glyphOf(font, code);
        const QByteArray written = glyphBytes(glyph, layout);
        QCOMPARE(written, transposed(glyph, layout));
        const QList<QByteArray> back = grid(glyphFromBytes(written, layout));
        const QList<QByteArray> original = grid(glyph);
        for (int row = 0; row < GlyphSize; ++row)
            QCOMPARE(back[row],
                     original[row].left(layout.width) + QByteArray(GlyphSize - layout.width, '.'));
    }
    QCOMPARE(tableBytes(font, {32, 127}, layout).size(), 96 * layout.bytesPerGlyph());
}

void TestGlyphLayout::bitsOutsideTheWidthAreIgnored()
{
    const GlyphLayout hd44780 {ByteOrder::Rows, 5};
    // The controller ignores bits 5 to 7 of its 5-pixel rows; dumps often have them set.
    const CharBitMap glyph = glyphFromBytes(QByteArray::fromHex("FFE000000000001F"), hd44780);
    QCOMPARE(glyph, (CharBitMap {0xF8, 0, 0, 0, 0, 0, 0, 0xF8}));
    QCOMPARE(glyphBytes(glyph, hd44780), QByteArray::fromHex("1F0000000000001F"));
}

QTEST_GUILESS_MAIN(TestGlyphLayout)
#include "tst_glyphlayout.moc"
