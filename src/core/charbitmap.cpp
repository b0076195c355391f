#include "core/charbitmap.h"

namespace {
constexpr int FirstPrintable = 32; // space
constexpr int LastPrintable = 126; // '~'
constexpr char HexDigits[] = "0123456789ABCDEF";
} // namespace

QString CharDisplayText(int code)
{
    if (code < FirstPrintable || code > LastPrintable)
        return QStringLiteral(".");
    return QString(QChar(code));
}

QString hexByte(int value)
{
    // A table instead of QString::number: an export formats 2,048 of these.
    const char text[] = {'0', 'x', HexDigits[(value >> 4) & 0xF], HexDigits[value & 0xF]};
    return QString::fromLatin1(text, sizeof text);
}

QString charLabel(int code)
{
    // Digits by hand, as in hexByte(): an export writes 256 of these.
    const char text[] = {'C',
                         'h',
                         'a',
                         'r',
                         '_',
                         static_cast<char>('0' + code / 100 % 10),
                         static_cast<char>('0' + code / 10 % 10),
                         static_cast<char>('0' + code % 10)};
    return QString::fromLatin1(text, sizeof text);
}

QString glyphBytesText(const CharBitMap &glyph)
{
    QString text;
    text.reserve(GlyphSize * 6);
    for (int row = 0; row < GlyphSize; ++row) {
        if (row > 0)
            text.append(QStringLiteral(", "));
        text.append(hexByte(glyph[row]));
    }
    return text;
}

QString charDescription(int code)
{
    // One multi-argument arg() so that a '%' glyph is never taken for a placeholder.
    return QStringLiteral("Char: %1 / %2 / %3")
        .arg(CharDisplayText(code), QString::number(code), hexByte(code));
}
