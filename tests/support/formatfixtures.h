#pragma once

#include "core/fontimage.h"
#include "formats/characterset.h"
#include "formats/inkimage.h"
#include "support/support.h"

#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

// Fonts and foreign files for the tests of the import and export formats.

// Character sets beyond Latin-1 come from iconv, which the Windows build has not; the tests of
// those sets skip there.
inline bool knowsOtherCharsets()
{
    QString why;
    return CharacterSet::named(QStringLiteral("cp437"), &why).has_value();
}
#define OTHER_CHARSET_OR_SKIP(name)                                                                \
    if (!QString(name).isEmpty() && QString(name) != QLatin1String("latin1")                       \
        && !knowsOtherCharsets())                                                                  \
    QSKIP("this build knows Latin-1 alone; other character sets need iconv")
// The same for a command line that names a character set.
inline QString charsetArgument(const QStringList &arguments)
{
    const qsizetype at = arguments.indexOf(QStringLiteral("--charset"));
    return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : QString();
}

// The font every row of whose glyphs is its code, so that a glyph out of place shows.
inline FontImage codeFont()
{
    FontImage font {};
    for (int i = 0; i < FontFileSize; ++i)
        font[i] = static_cast<std::uint8_t>(i / GlyphSize);
    return font;
}

// gzip as distributions compress console fonts (-n: no name or time, so the bytes are stable).
// Where there is no gzip program (Windows), the gzip container written by hand around stored,
// uncompressed deflate blocks, which every gunzip reads as well.
inline QByteArray gzipped(const QByteArray &bytes)
{
    if (QStandardPaths::findExecutable(QStringLiteral("gzip")).isEmpty()) {
        QByteArray out("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\xff", 10);
        qsizetype at = 0;
        do {
            const auto size = static_cast<quint32>(qMin<qsizetype>(bytes.size() - at, 65535));
            out.append(at + size == bytes.size() ? '\x01' : '\x00'); // last block?
            appendLe(out, size, 2);
            appendLe(out, ~size, 2);
            out.append(bytes.mid(at, size));
            at += size;
        } while (at < bytes.size());
        quint32 crc = 0xFFFFFFFF;
        for (const char byte : bytes) {
            crc ^= static_cast<quint8>(byte);
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
        }
        appendLe(out, ~crc, 4);
        appendLe(out, static_cast<quint32>(bytes.size()), 4);
        return out;
    }
    QProcess gzip;
    gzip.start(QStringLiteral("gzip"), {QStringLiteral("-n"), QStringLiteral("-c")});
    gzip.write(bytes);
    gzip.closeWriteChannel();
    if (!finishedInTime(gzip))
        return {};
    return gzip.readAllStandardOutput();
}

// A PSF 2 font as its format defines it: a 32-byte header (or longer), then the glyphs.
inline QByteArray psf2(quint32 count, quint32 height, quint32 width, const QByteArray &glyphs,
                       quint32 headerSize = 32)
{
    QByteArray bytes(headerSize, '\0');
    putLe32(bytes, 0, 0x864AB572); // magic 72 B5 4A 86
    putLe32(bytes, 8, headerSize);
    putLe32(bytes, 16, count);
    putLe32(bytes, 20, (width + 7) / 8 * height);
    putLe32(bytes, 24, height);
    putLe32(bytes, 28, width);
    return bytes + glyphs;
}

// A glyph that tells its index from every other's, so that a glyph taken from the wrong place
// shows; indexGlyphs() is the bytes of a font of them, rows cut to the height.
inline CharBitMap indexGlyph(int index)
{
    return {static_cast<std::uint8_t>(index),
            static_cast<std::uint8_t>(index >> 8 | 0x80),
            0x5A,
            0x3C,
            0x7E,
            0x81,
            0x42,
            0x18};
}
inline QByteArray indexGlyphs(int count, int height = 8)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        for (int row = 0; row < height; ++row)
            bytes.append(static_cast<char>(indexGlyph(i)[row]));
    return bytes;
}

// A PSF Unicode table as the format defines it: per glyph its characters, 16-bit (PSF 1) or
// UTF-8 (PSF 2), each entry ended by 0xFFFF or 0xFF; SequenceStart in an entry is written as
// 0xFFFE or 0xFE, after which come sequences.
inline constexpr char32_t SequenceStart = 0xFFFE;
inline QByteArray psfTable(int version, const QList<QList<char32_t>> &entries)
{
    QByteArray table;
    for (const QList<char32_t> &entry : entries) {
        for (const char32_t c : entry) {
            if (version == 1)
                table.append(static_cast<char>(c & 0xFF)).append(static_cast<char>(c >> 8));
            else
                table.append(c == SequenceStart ? QByteArray("\xFE")
                                                : QString::fromUcs4(&c, 1).toUtf8());
        }
        table.append(version == 1 ? QByteArray("\xFF\xFF") : QByteArray("\xFF"));
    }
    return table;
}

// A Windows bitmap of the picture, written by hand as the format defines it: 24-bit bottom-up
// rows, 1-bit top-down through a two-colour palette (paper first), or 32-bit with bit-field
// masks where paper is transparent black, so that only alpha tells it from ink.
enum class BmpKind { Rgb24, Palette1, Alpha32 };
inline QByteArray bmpOf(const InkImage &image, BmpKind kind)
{
    const int bits = kind == BmpKind::Rgb24 ? 24 : kind == BmpKind::Palette1 ? 1 : 32;
    const int stride = (image.width * bits + 31) / 32 * 4;
    const int headerSize = kind == BmpKind::Alpha32 ? 56 : 40;
    const int palette = kind == BmpKind::Palette1 ? 8 : 0;
    const int offset = 14 + headerSize + palette;
    QByteArray bytes(offset + stride * image.height, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLe32(bytes, 2, static_cast<quint32>(bytes.size()));
    putLe32(bytes, 10, static_cast<quint32>(offset));
    putLe32(bytes, 14, static_cast<quint32>(headerSize));
    putLe32(bytes, 18, static_cast<quint32>(image.width));
    const bool topDown = kind == BmpKind::Palette1;
    putLe32(bytes, 22, static_cast<quint32>(topDown ? -image.height : image.height));
    bytes[26] = 1;
    bytes[28] = static_cast<char>(bits);
    if (kind == BmpKind::Alpha32) {
        putLe32(bytes, 30, 3);
        putLe32(bytes, 54, 0x00FF0000);
        putLe32(bytes, 58, 0x0000FF00);
        putLe32(bytes, 62, 0x000000FF);
        putLe32(bytes, 66, 0xFF000000);
    }
    if (kind == BmpKind::Palette1)
        putLe32(bytes, 54, 0x00FFFFFF); // entry 0 white; entry 1 stays black
    for (int y = 0; y < image.height; ++y) {
        const int row = offset + stride * (topDown ? y : image.height - 1 - y);
        for (int x = 0; x < image.width; ++x) {
            const bool ink = image.ink(x, y);
            if (kind == BmpKind::Rgb24) {
                const char paper = ink ? '\0' : '\xFF';
                bytes[row + 3 * x] = bytes[row + 3 * x + 1] = bytes[row + 3 * x + 2] = paper;
            } else if (kind == BmpKind::Palette1) {
                if (ink)
                    bytes[row + x / 8] = static_cast<char>(bytes[row + x / 8] | (0x80 >> (x % 8)));
            } else {
                putLe32(bytes, row + 4 * x, ink ? 0xFF000000 : 0x00000000);
            }
        }
    }
    return bytes;
}
