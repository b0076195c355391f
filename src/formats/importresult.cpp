#include "formats/importresult.h"

#include <algorithm>

ImportResult ImportResult::failure(const QString &reason)
{
    ImportResult result;
    result.error = reason;
    return result;
}

QString emptyCodesText(const FontImage &font)
{
    QList<int> empty;
    for (int code = 0; code < CharacterCount; ++code) {
        const CharBitMap glyph = glyphOf(font, code);
        if (std::all_of(glyph.begin(), glyph.end(), [](std::uint8_t row) { return row == 0; }))
            empty.append(code);
    }
    return codeRangesText(empty);
}

QString codeSourcesText(const ImportResult &result)
{
    const auto codes = [](int count) {
        return count == 1 ? QStringLiteral("1 code") : QStringLiteral("%1 codes").arg(count);
    };
    QStringList parts;
    if (result.keyed > 0 || !result.key.isEmpty())
        parts.append(QStringLiteral("%1 %2").arg(codes(result.keyed), result.key));
    if (result.byPosition > 0)
        parts.append(QStringLiteral("%1 by position").arg(codes(result.byPosition)));
    if (!result.uncovered.isEmpty())
        parts.append(
            QStringLiteral("%1 without a glyph (%2)")
                .arg(codes(int(result.uncovered.size())), codeRangesText(result.uncovered)));
    QString text = parts.join(QStringLiteral(", "));
    if (!result.charset.isEmpty())
        text.prepend(QStringLiteral("charset %1: ").arg(result.charset));
    return text;
}
