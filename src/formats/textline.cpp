#include "formats/textline.h"

#include <QList>

#include <algorithm>

size_t TextCodes::longest() const
{
    size_t longest = 0;
    for (const auto &line : lines)
        longest = std::max(longest, line.size());
    return longest;
}

TextCodes textCodes(const QString &text, const CharacterSet &charset)
{
    TextCodes result;
    for (const char32_t c : text.toUcs4()) {
        if (c == U'\n') {
            result.lines.emplace_back();
            continue;
        }
        const int code = charset.code(c);
        if (code < 0) {
            result.missing = c;
            return result;
        }
        result.lines.back().push_back(static_cast<std::uint8_t>(code));
    }
    return result;
}
