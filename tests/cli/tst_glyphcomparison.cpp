#include "cli/glyphcomparison.h"
#include "support/support.h"

#include <QTest>

// What check shows of two fonts that differ: which codes, and the first one's glyphs side by side.
class TestGlyphComparison final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyFlippedBitIsFound();
    void comparisonMarksDifferingRows();
};

void TestGlyphComparison::everyFlippedBitIsFound()
{
    const FontImage font = randomFont(2);
    for (int byte = 0; byte < FontFileSize; ++byte) {
        FontImage flipped = font;
        flipped[byte] ^= static_cast<std::uint8_t>(1u << (byte % 8));
        const int code = byte / GlyphSize;
        QCOMPARE(firstDifferentCode(font, flipped), code);
        QCOMPARE(differentCodeCount(font, flipped), 1);
        // Within a range, only its own codes count.
        QCOMPARE(firstDifferentCode(font, flipped, CodeRange {code, code}), code);
        const CodeRange others = code == 0 ? CodeRange {1, 255} : CodeRange {0, code - 1};
        QCOMPARE(firstDifferentCode(font, flipped, others), -1);
        QCOMPARE(differentCodeCount(font, flipped, others), 0);
    }
}

void TestGlyphComparison::comparisonMarksDifferingRows()
{
    const CharBitMap left {0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x42, 0x00};
    CharBitMap right = left;
    right[3] = 0x7F;
    const QStringList rows
        = glyphComparison(left, right, QStringLiteral("font.pf"), QStringLiteral("font.asm"))
              .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), 9);
    QCOMPARE(rows[0], "  font.pf   font.asm");
    QCOMPARE(rows[1], "  ...##...  ...##...  0x18  0x18");
    QCOMPARE(rows[4], "  .######.  .#######  0x7E  0x7F  <");
}

QTEST_APPLESS_MAIN(TestGlyphComparison)
#include "tst_glyphcomparison.moc"
