#include "core/glyphtransform.h"
#include "formats/fonttext.h"
#include "support/support.h"

#include <QStringList>
#include <QTest>

namespace {
// A glyph drawn as the text form draws it, eight strings of '#' and '.', so that each operation
// can be done again as plain moves of characters.
QStringList drawn(const CharBitMap &glyph)
{
    QStringList rows;
    for (const std::uint8_t value : glyph)
        rows.append(QString::fromLatin1(pixelRow(value)));
    return rows;
}

// The operation a row names ("shift down 3") done by hand.
QStringList byHand(const QString &name, const QStringList &in)
{
    const QStringList words = name.split(u' ');
    const int n = words.value(2, QStringLiteral("1")).toInt();
    const QString blank(8, u'.');
    const bool wrap = words[0] == "roll";
    QStringList out = in;
    for (int row = 0; row < 8; ++row) {
        const QString &r = in[row];
        if (words[0] == "shift" || words[0] == "roll") {
            if (words[1] == "left")
                out[row] = r.mid(n) + (wrap ? r.left(n) : blank.left(n));
            else if (words[1] == "right")
                out[row] = (wrap ? r.right(n) : blank.left(n)) + r.left(8 - n);
            else if (words[1] == "down")
                out[row] = row >= n ? in[row - n] : wrap ? in[row + 8 - n] : blank;
            else
                out[row] = row + n < 8 ? in[row + n] : wrap ? in[row + n - 8] : blank;
        } else if (name == "flip horizontal") {
            std::reverse(out[row].begin(), out[row].end());
        } else if (name == "flip vertical") {
            out[row] = in[7 - row];
        } else if (name == "rotate 90") { // the left column, bottom up, becomes the top row
            out[row].clear();
            for (int from = 7; from >= 0; --from)
                out[row] += in[from][row];
        } else if (name == "invert") {
            out[row].replace(u'#', u'x').replace(u'.', u'#').replace(u'x', u'.');
        } else if (name == "bold") {
            for (int column = 1; column < 8; ++column)
                out[row][column] = r[column - 1] == u'#' ? u'#' : r[column];
        }
    }
    return out;
}

CharBitMap randomGlyph(quint32 seed)
{
    return glyphOf(randomFont(seed), 0);
}
} // namespace

// Moving, mirroring and turning glyphs, each against the same operation done by hand on the
// glyph drawn as text, and the relations between them.
class TestGlyphTransform final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachOperation_data();
    void eachOperation();
    void relations();
    void rangeEndsAtItsLastCode_data();
    void rangeEndsAtItsLastCode();
};

void TestGlyphTransform::eachOperation_data()
{
    using Kind = GlyphOperation::Kind;
    QTest::addColumn<GlyphOperation>("operation");
    QTest::newRow("shift up 1") << GlyphOperation {Kind::Shift, Direction::Up, 1};
    QTest::newRow("shift down 3") << GlyphOperation {Kind::Shift, Direction::Down, 3};
    QTest::newRow("shift right 7") << GlyphOperation {Kind::Shift, Direction::Right, 7};
    QTest::newRow("roll down 1") << GlyphOperation {Kind::Roll, Direction::Down, 1};
    QTest::newRow("roll left 5") << GlyphOperation {Kind::Roll, Direction::Left, 5};
    QTest::newRow("flip horizontal") << GlyphOperation {Kind::Flip, Direction::Left};
    QTest::newRow("flip vertical") << GlyphOperation {Kind::Flip, Direction::Up};
    QTest::newRow("rotate 90") << GlyphOperation {Kind::Rotate, Direction::Up, 1};
    QTest::newRow("invert") << GlyphOperation {Kind::Invert};
    QTest::newRow("bold") << GlyphOperation {Kind::Bold};
}

void TestGlyphTransform::eachOperation()
{
    QFETCH(GlyphOperation, operation);
    for (quint32 seed = 1; seed <= 20; ++seed) {
        const CharBitMap glyph = seed == 1 ? CapitalA : randomGlyph(seed);
        QCOMPARE(drawn(applied(glyph, operation)),
                 byHand(QString::fromLatin1(QTest::currentDataTag()), drawn(glyph)));
    }
}

void TestGlyphTransform::relations()
{
    for (quint32 seed = 1; seed <= 50; ++seed) {
        const CharBitMap glyph = randomGlyph(seed);
        QCOMPARE(turnedClockwise(turnedClockwise(turnedClockwise(glyph, 1), 1), 2), glyph);
        QCOMPARE(turnedClockwise(glyph, 2), mirroredTopBottom(mirroredLeftRight(glyph)));
        QCOMPARE(mirroredLeftRight(mirroredLeftRight(glyph)), glyph);
        QCOMPARE(mirroredTopBottom(mirroredTopBottom(glyph)), glyph);
        // A shift and a roll differ only in the band the pixels come in at: blank after one,
        // wrapped round after the other.
        for (int n = 1; n < 8; ++n) {
            const CharBitMap shift = shifted(glyph, Direction::Down, n);
            const CharBitMap roll = rolled(glyph, Direction::Down, n);
            for (int row = 0; row < 8; ++row)
                QCOMPARE(shift[row], row < n ? 0 : roll[row]);
            const CharBitMap left = shifted(glyph, Direction::Left, n);
            const std::uint8_t band = 0xFF >> (8 - n); // the n rightmost columns
            for (int row = 0; row < 8; ++row)
                QCOMPARE(left[row], rolled(glyph, Direction::Left, n)[row] & ~band & 0xFF);
        }
    }
}

void TestGlyphTransform::rangeEndsAtItsLastCode_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::newRow("all") << 0 << 255;
    QTest::newRow("letters") << 65 << 90;
    QTest::newRow("first code alone") << 0 << 0;
    QTest::newRow("last code alone") << 255 << 255;
    QTest::newRow("up to the last code") << 128 << 255;
}

void TestGlyphTransform::rangeEndsAtItsLastCode()
{
    QFETCH(int, first);
    QFETCH(int, last);
    const FontImage before = randomFont(quint32(first * 256 + last));
    FontImage font = before;
    // Inverting changes every glyph, so each code of the range shows whether it was reached.
    const GlyphOperation invert {GlyphOperation::Kind::Invert};
    QCOMPARE(transformFont(font, CodeRange {first, last}, {&invert, 1}), last - first + 1);
    for (int code = 0; code < CharacterCount; ++code) {
        const bool inside = code >= first && code <= last;
        CharBitMap expected = glyphOf(before, code);
        for (std::uint8_t &row : expected)
            row = inside ? std::uint8_t(~row) : row;
        QVERIFY2(glyphOf(font, code) == expected, qPrintable(QString::number(code)));
    }
}

QTEST_APPLESS_MAIN(TestGlyphTransform)
#include "tst_glyphtransform.moc"
