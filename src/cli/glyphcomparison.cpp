#include "cli/glyphcomparison.h"

#include "formats/fonttext.h"

namespace {
constexpr int ComparisonGap = 2; // spaces between the columns of a glyph comparison
} // namespace

int firstDifferentCode(const FontImage &a, const FontImage &b, const CodeRange &codes)
{
    for (int code = codes.first; code <= codes.last; ++code) {
        if (glyphOf(a, code) != glyphOf(b, code))
            return code;
    }
    return -1;
}

int differentCodeCount(const FontImage &a, const FontImage &b, const CodeRange &codes)
{
    int count = 0;
    for (int code = codes.first; code <= codes.last; ++code)
        count += glyphOf(a, code) != glyphOf(b, code) ? 1 : 0;
    return count;
}

QString glyphComparison(const CharBitMap &left, const CharBitMap &right, const QString &leftTitle,
                        const QString &rightTitle)
{
    const QString gap(ComparisonGap, QLatin1Char(' '));
    // Each column is as wide as its title or the 8 pixels, whichever is wider.
    const int leftWidth = qMax<int>(GlyphSize, leftTitle.size());
    const int rightWidth = qMax<int>(GlyphSize, rightTitle.size());
    QString text
        = QStringLiteral("  %1%2%3\n").arg(leftTitle.leftJustified(leftWidth), gap, rightTitle);
    for (int row = 0; row < GlyphSize; ++row) {
        text += QStringLiteral("  %1%2%3%4%5%6%7%8\n")
                    .arg(QString::fromLatin1(pixelRow(left[row])).leftJustified(leftWidth), gap,
                         QString::fromLatin1(pixelRow(right[row])).leftJustified(rightWidth), gap,
                         hexByte(left[row]), gap, hexByte(right[row]),
                         left[row] != right[row] ? QStringLiteral("  <") : QString());
    }
    return text;
}
