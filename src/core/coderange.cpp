#include "core/coderange.h"

#include <QStringList>

std::optional<qint64> parseNumber(QStringView text)
{
    const bool hex = text.startsWith(u"0x", Qt::CaseInsensitive);
    const QStringView digits = hex ? text.sliced(2) : text;
    // Signs and spaces, which toLongLong() would take, are no part of a code, offset or count.
    if (digits.isEmpty() || !digits.front().isLetterOrNumber())
        return std::nullopt;
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok, hex ? 16 : 10);
    if (!ok)
        return std::nullopt;
    return value;
}

namespace {
std::optional<int> parseCode(QStringView text)
{
    const std::optional<qint64> value = parseNumber(text);
    if (!value || *value < 0 || *value >= CharacterCount)
        return std::nullopt;
    return static_cast<int>(*value);
}
} // namespace

CodeRangeParse parseCodeRange(QStringView text)
{
    const qsizetype dash = text.indexOf(u'-');
    const QStringView firstText = dash < 0 ? text : text.first(dash);
    const QStringView lastText = dash < 0 ? text : text.sliced(dash + 1);
    const std::optional<int> first = parseCode(firstText);
    const std::optional<int> last = parseCode(lastText);
    if (!first || !last)
        return {std::nullopt, QStringLiteral("expects FIRST-LAST, two codes from 0 to 255 "
                                             "(decimal or 0x hex), such as 32-127")};
    if (*first > *last)
        return {std::nullopt, QStringLiteral("the range is reversed: FIRST (%1) is above LAST (%2)")
                                  .arg(*first)
                                  .arg(*last)};
    return {CodeRange {*first, *last}, {}};
}

QString codeRangeText(const CodeRange &range)
{
    if (range.first == range.last)
        return QStringLiteral("code %1").arg(range.first);
    return QStringLiteral("codes %1 to %2").arg(range.first).arg(range.last);
}

QString codeRangesText(const QList<int> &codes)
{
    QStringList ranges;
    for (qsizetype i = 0; i < codes.size();) {
        qsizetype last = i;
        while (last + 1 < codes.size() && codes[last + 1] == codes[last] + 1)
            ++last;
        ranges.append(last == i ? QString::number(codes[i])
                                : QStringLiteral("%1-%2").arg(codes[i]).arg(codes[last]));
        i = last + 1;
    }
    return ranges.join(QStringLiteral(", "));
}
