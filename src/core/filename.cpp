#include "core/filename.h"

namespace {
constexpr char16_t KeptByteBase = 0xDC00;

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at the start of bytes (shortest form, no surrogates, at
// most U+10FFFF), or 0; the character it is in *character.
qsizetype validSequence(QByteArrayView bytes, char32_t *character)
{
    const auto at = [&bytes](qsizetype i) {
        return static_cast<unsigned char>(bytes[i]);
    };
    const unsigned char lead = at(0);
    if (lead < 0x80) {
        *character = lead;
        return 1;
    }
    qsizetype length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() < length)
        return 0;
    for (qsizetype i = 1; i < length; ++i) {
        if (!isContinuation(at(i)))
            return 0;
        value = value << 6 | (at(i) & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    *character = value;
    return length;
}

// Whether the character at i stands for a kept byte: a lone surrogate of that range, not the second
// half of a pair (U+10080 is D800 DC80).
bool isKeptByte(const QString &text, qsizetype i)
{
    const char16_t c = text.at(i).unicode();
    return c >= KeptByteBase + 0x80 && c <= KeptByteBase + 0xFF
           && (i == 0 || !text.at(i - 1).isHighSurrogate());
}
} // namespace

QString fileNameFromBytes(QByteArrayView bytes)
{
    QString name;
    name.reserve(bytes.size());
    while (!bytes.isEmpty()) {
        char32_t character = 0;
        const qsizetype length = validSequence(bytes, &character);
        if (length == 0) {
            name.append(QChar(KeptByteBase + static_cast<unsigned char>(bytes.front())));
            bytes = bytes.sliced(1);
            continue;
        }
        // Not through QString::fromUtf8, which drops U+FEFF at the start of what it decodes as
        // a byte order mark: in a name it is a character like any other.
        name.append(QChar::fromUcs4(character));
        bytes = bytes.sliced(length);
    }
    return name;
}

QByteArray fileNameBytes(const QString &name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype start = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !isKeptByte(name, i))
            continue;
        bytes.append(QStringView(name).sliced(start, i - start).toUtf8());
        if (i < name.size())
            bytes.append(static_cast<char>(name.at(i).unicode() - KeptByteBase));
        start = i + 1;
    }
    return bytes;
}

QString printableFileName(const QString &name)
{
    QString shown;
    shown.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (isKeptByte(name, i))
            shown += QStringLiteral("\\x")
                     + QString::number(name.at(i).unicode() - KeptByteBase, 16).toUpper();
        else
            shown += name.at(i);
    }
    return shown;
}

qsizetype firstKeptByte(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isKeptByte(text, i))
            return i;
    }
    return -1;
}
