#include "formats/importresult.h"

#include <QLocale>

#include <algorithm>

ImportResult ImportResult::failure(const QString &reason)
{
    ImportResult result;
    result.error = reason;
    return result;
}

QString numberText(qint64 value)
{
    return QLocale(QLocale::English).toString(value);
}

QString emptyCodesText(const FontImage &font)
{
    QStringList ranges;
    int code = 0;
    while (code < CharacterCount) {
        const auto isEmpty = [&font](int c) {
            const CharBitMap glyph = glyphOf(font, c);
            return std::all_of(glyph.begin(), glyph.end(),
                               [](std::uint8_t row) { return row == 0; });
        };
        if (!isEmpty(code)) {
            ++code;
            continue;
        }
        int last = code;
        while (last + 1 < CharacterCount && isEmpty(last + 1))
            ++last;
        ranges.append(last == code ? QString::number(code)
                                   : QStringLiteral("%1-%2").arg(code).arg(last));
        code = last + 1;
    }
    return ranges.join(QStringLiteral(", "));
}
