#include "core/charbitmap.h"

#include <QLocale>

namespace {
constexpr int FirstPrintable = 32; // space
constexpr int LastPrintable = 126; // '~'
constexpr char HexDigits[] = "0123456789ABCDEF";
constexpr int HexByteLength = 4; // "0x" and two digits
constexpr int GlyphBytesLength = GlyphSize * (HexByteLength + 2) - 2; // ", " between bytes

// The one spelling of a byte in hex. A table instead of QString::number: an export formats
// 2,048 of these.
void putHexByte(char *out, int value)
{
    out[0] = '0';
    out[1] = 'x';
    out[2] = HexDigits[(value >> 4) & 0xF];
    out[3] = HexDigits[value & 0xF];
}
} // namespace

QString CharDisplayText(int code)
{
    if (code < FirstPrintable || code > LastPrintable)
        return QStringLiteral(".");
    return QString(QChar(code));
}

QString hexByte(int value)
{
    char text[HexByteLength];
    putHexByte(text, value);
    return QString::fromLatin1(text, sizeof text);
}

QString numberText(qint64 value)
{
    return QLocale(QLocale::English).toString(value);
}

void appendCharLabel(QByteArray &out, int code)
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
    out.append(text, sizeof text);
}

QString charLabel(int code)
{
    QByteArray label;
    appendCharLabel(label, code);
    return QString::fromLatin1(label);
}

QByteArray glyphBytesLatin1(const CharBitMap &glyph)
{
    char text[GlyphBytesLength];
    char *out = text;
    for (int row = 0; row < GlyphSize; ++row) {
        if (row > 0) {
            *out++ = ',';
            *out++ = ' ';
        }
        putHexByte(out, glyph[row]);
        out += HexByteLength;
    }
    return QByteArray(text, sizeof text);
}

void appendHexList(QByteArray &text, QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    // Written in place: an export lists 2,048 bytes, and each temporary is an allocation.
    const qsizetype start = text.size();
    text.resize(start + bytes.size() * (HexByteLength + 2) - 2);
    char *out = text.data() + start;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            *out++ = ',';
            *out++ = ' ';
        }
        putHexByte(out, static_cast<std::uint8_t>(bytes[i]));
        out += HexByteLength;
    }
}

QByteArray hexListLatin1(QByteArrayView bytes)
{
    QByteArray text;
    appendHexList(text, bytes);
    return text;
}

QString glyphBytesText(const CharBitMap &glyph)
{
    return QString::fromLatin1(glyphBytesLatin1(glyph));
}

QString charDescription(int code)
{
    // One multi-argument arg() so that a '%' glyph is never taken for a placeholder.
    return QStringLiteral("Char: %1 / %2 / %3")
        .arg(CharDisplayText(code), QString::number(code), hexByte(code));
}
