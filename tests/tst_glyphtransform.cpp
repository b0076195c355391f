#include "core/glyphtransform.h"
#include "support.h"

#include <QStringList>
#include <QTest>

namespace {
// A glyph drawn as eight strings of '#' and '.', the way a person reads it, so that each
// operation can be written again as plain moves of characters.
using Drawing = QStringList;

Drawing drawn(const CharBitMap &glyph)
{
    Drawing rows;
    for (const std::uint8_t value : glyph) {
        QString row;
        for (int bit = 7; bit >= 0; --bit)
            row += (value >> bit) & 1 ? u'#' : u'.';
        rows.append(row);
    }
    return rows;
}

const QString Blank(8, u'.');

// The operation a row of the table names, "shift down 3", and the same by hand.
GlyphOperation operationNamed(const QString &name)
{
    const QStringList words = name.split(u' ');
    const QStringList kinds {"shift", "roll", "flip", "rotate", "invert", "bold"};
    const QStringList directions {"up", "down", "left", "right"};
    GlyphOperation operation {GlyphOperation::Kind(kinds.indexOf(words[0]))};
    if (words.size() > 1 && words[0] == "flip")
        operation.direction = words[1] == "horizontal" ? Direction::Left : Direction::Up;
    else if (words.size() > 1 && words[0] == "rotate")
        operation.amount = words[1].toInt() / 90;
    else if (words.size() > 1)
        operation.direction = Direction(directions.indexOf(words[1]));
    if (words.size() > 2)
        operation.amount = words[2].toInt();
    return operation;
}

Drawing byHand(const QString &name, const Drawing &in)
{
    const QStringList words = name.split(u' ');
    const int n = words.size() > 2 ? words[2].toInt() : 1;
    const bool wrap = words[0] == "roll";
    Drawing out = in;
    if (words[0] == "shift" || words[0] == "roll") {
        for (int row = 0; row < 8; ++row) {
            const QString &r = in[row];
            if (words[1] == "left")
                out[row] = r.mid(n) + (wrap ? r.left(n) : Blank.left(n));
            else if (words[1] == "right")
                out[row] = (wrap ? r.right(n) : Blank.left(n)) + r.left(8 - n);
            else if (words[1] == "down")
                out[row] = row >= n ? in[row - n] : wrap ? in[row + 8 - n] : Blank;
            else
                out[row] = row + n < 8 ? in[row + n] : wrap ? in[row + n - 8] : Blank;
        }
    } else if (name == "flip horizontal") {
        for (QString &row : out)
            std::reverse(row.begin(), row.end());
    } else if (name == "flip vertical") {
        std::reverse(out.begin(), out.end());
    } else if (words[0] == "rotate") {
        for (int turn = 0; turn < words[1].toInt() / 90; ++turn) {
            const Drawing before = out;
            // Clockwise: the left column, read from the bottom up, becomes the top row.
            for (int row = 0; row < 8; ++row) {
                out[row].clear();
                for (int from = 7; from >= 0; --from)
                    out[row] += before[from][row];
            }
        }
    } else if (name == "invert") {
        for (QString &row : out)
            for (QChar &pixel : row)
                pixel = pixel == u'#' ? u'.' : u'#';
    } else if (name == "bold") {
        for (int row = 0; row < 8; ++row)
            for (int column = 1; column < 8; ++column)
                if (in[row][column - 1] == u'#')
                    out[row][column] = u'#';
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
    void turnsAndMirrorsUndoThemselves();
    void shiftAndRollDifferOnlyAtTheEdge_data();
    void shiftAndRollDifferOnlyAtTheEdge();
    void fontRangeAndCount();
};

void TestGlyphTransform::eachOperation_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name :
         {"shift up 1", "shift down 1", "shift down 3", "shift left 1", "shift right 7",
          "roll up 2", "roll down 1", "roll left 5", "roll right 1", "flip horizontal",
          "flip vertical", "rotate 90", "rotate 180", "rotate 270", "invert", "bold"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestGlyphTransform::eachOperation()
{
    QFETCH(QString, name);
    const GlyphOperation operation = operationNamed(name);
    for (quint32 seed = 1; seed <= 20; ++seed) {
        const CharBitMap glyph = seed == 1 ? CapitalA : randomGlyph(seed);
        QCOMPARE(drawn(applied(glyph, operation)), byHand(name, drawn(glyph)));
    }
}

void TestGlyphTransform::turnsAndMirrorsUndoThemselves()
{
    for (quint32 seed = 1; seed <= 50; ++seed) {
        const CharBitMap glyph = randomGlyph(seed);
        CharBitMap turned = glyph;
        for (int turn = 0; turn < 4; ++turn)
            turned = turnedClockwise(turned, 1);
        QCOMPARE(turned, glyph);
        QCOMPARE(turnedClockwise(turnedClockwise(glyph, 1), 3), glyph);
        QCOMPARE(mirroredLeftRight(mirroredLeftRight(glyph)), glyph);
        QCOMPARE(mirroredTopBottom(mirroredTopBottom(glyph)), glyph);
        // Half a turn is both mirrors.
        QCOMPARE(turnedClockwise(glyph, 2), mirroredTopBottom(mirroredLeftRight(glyph)));
        QCOMPARE(inverted(inverted(glyph)), glyph);
    }
}

void TestGlyphTransform::shiftAndRollDifferOnlyAtTheEdge_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("pixels");
    for (int pixels : {1, 3, 7}) {
        QTest::addRow("up %d", pixels) << int(Direction::Up) << pixels;
        QTest::addRow("down %d", pixels) << int(Direction::Down) << pixels;
        QTest::addRow("left %d", pixels) << int(Direction::Left) << pixels;
        QTest::addRow("right %d", pixels) << int(Direction::Right) << pixels;
    }
}

void TestGlyphTransform::shiftAndRollDifferOnlyAtTheEdge()
{
    QFETCH(int, direction);
    QFETCH(int, pixels);
    const auto towards = Direction(direction);
    for (quint32 seed = 1; seed <= 20; ++seed) {
        const Drawing shift = drawn(shifted(randomGlyph(seed), towards, pixels));
        const Drawing roll = drawn(rolled(randomGlyph(seed), towards, pixels));
        for (int row = 0; row < 8; ++row) {
            for (int column = 0; column < 8; ++column) {
                // The band the pixels come in at: blank after a shift, wrapped after a roll.
                const int along
                    = towards == Direction::Up || towards == Direction::Down ? row : column;
                const bool band = towards == Direction::Down || towards == Direction::Right
                                      ? along < pixels
                                      : along >= 8 - pixels;
                if (band)
                    QCOMPARE(shift[row][column], u'.');
                else
                    QCOMPARE(shift[row][column], roll[row][column]);
            }
        }
    }
}

void TestGlyphTransform::fontRangeAndCount()
{
    const FontImage original = randomFont(7);
    FontImage font = original;
    setGlyph(font, 40, CharBitMap {});
    const GlyphOperation operations[] = {operationNamed("shift down 1"), operationNamed("bold")};
    // The blank glyph stays blank, so it does not count as changed.
    QCOMPARE(transformFont(font, CodeRange {32, 127}, operations), 95);
    for (int code = 0; code < 256; ++code) {
        const CharBitMap before = code == 40 ? CharBitMap {} : glyphOf(original, code);
        const CharBitMap expected = CodeRange {32, 127}.contains(code)
                                        ? emboldened(shifted(before, Direction::Down, 1))
                                        : before;
        QCOMPARE(glyphOf(font, code), expected);
    }
}

QTEST_APPLESS_MAIN(TestGlyphTransform)
#include "tst_glyphtransform.moc"
