#include "formats/psf.h"

#include <algorithm>
#include <cstdint>

namespace {
constexpr std::uint8_t Psf1Magic[] = {0x36, 0x04};
constexpr int Psf1HeaderSize = 4;
constexpr std::uint8_t Psf1Mode512 = 0x01; // 512 glyphs instead of 256
constexpr std::uint8_t Psf2Magic[] = {0x72, 0xB5, 0x4A, 0x86};
constexpr int Psf2HeaderSize = 32; // magic, version, header size, flags, length, charsize, h, w

bool startsWith(QByteArrayView bytes, const std::uint8_t *magic, qsizetype size)
{
    return bytes.size() >= size
           && std::equal(magic, magic + size, reinterpret_cast<const std::uint8_t *>(bytes.data()));
}

quint32 le32(QByteArrayView bytes, qsizetype at)
{
    const auto *p = reinterpret_cast<const std::uint8_t *>(bytes.data()) + at;
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

struct Layout
{
    int version = 0;
    qint64 headerSize = 0;
    qint64 glyphCount = 0;
    qint64 bytesPerGlyph = 0;
    qint64 width = 0;
    qint64 height = 0;
};

ImportResult glyphsFrom(QByteArrayView bytes, const Layout &layout)
{
    if (layout.width != GlyphSize || layout.height != GlyphSize)
        return ImportResult::failure(
            QStringLiteral("PSF %1 with %2x%3 glyphs; only 8x8 glyphs fit this font.")
                .arg(layout.version)
                .arg(layout.width)
                .arg(layout.height));
    if (layout.bytesPerGlyph != GlyphSize)
        return ImportResult::failure(
            QStringLiteral("PSF %1 header gives %2 bytes a glyph; 8x8 glyphs take 8.")
                .arg(layout.version)
                .arg(layout.bytesPerGlyph));
    if (layout.glyphCount == 0)
        return ImportResult::failure(
            QStringLiteral("PSF %1 header gives a glyph count of 0: the font holds no glyphs.")
                .arg(layout.version));
    if (layout.headerSize > bytes.size()
        || layout.glyphCount > (bytes.size() - layout.headerSize) / layout.bytesPerGlyph)
        return ImportResult::failure(
            QStringLiteral("PSF %1 is truncated: %2 glyphs need %3 bytes after the header, the "
                           "file has %4.")
                .arg(layout.version)
                .arg(numberText(layout.glyphCount),
                     numberText(layout.glyphCount * layout.bytesPerGlyph),
                     numberText(std::max<qint64>(0, bytes.size() - layout.headerSize))));
    ImportResult result;
    const qint64 used = std::min<qint64>(layout.glyphCount, CharacterCount);
    result.font = fontImageFromBytes(bytes.sliced(layout.headerSize, used * GlyphSize));
    result.description
        = QStringLiteral("PSF %1, 8x8, %2 glyphs").arg(layout.version).arg(layout.glyphCount);
    if (layout.glyphCount < CharacterCount)
        result.warnings.append(QStringLiteral("the font has only %1 glyphs; codes %1 to 255 are "
                                              "left blank.")
                                   .arg(layout.glyphCount));
    else if (layout.glyphCount > CharacterCount)
        result.warnings.append(
            QStringLiteral("the font has %1 glyphs; only the first 256 are taken.")
                .arg(layout.glyphCount));
    return result;
}
} // namespace

bool isPsf(QByteArrayView bytes)
{
    return startsWith(bytes, Psf1Magic, sizeof Psf1Magic)
           || startsWith(bytes, Psf2Magic, sizeof Psf2Magic);
}

ImportResult fontFromPsf(QByteArrayView bytes)
{
    Layout layout;
    if (startsWith(bytes, Psf2Magic, sizeof Psf2Magic)) {
        if (bytes.size() < Psf2HeaderSize)
            return ImportResult::failure(
                QStringLiteral("PSF 2 header is truncated: %1 of its %2 bytes.")
                    .arg(bytes.size())
                    .arg(Psf2HeaderSize));
        layout.version = 2;
        layout.headerSize = le32(bytes, 8);
        layout.glyphCount = le32(bytes, 16);
        layout.bytesPerGlyph = le32(bytes, 20);
        layout.height = le32(bytes, 24);
        layout.width = le32(bytes, 28);
        if (layout.headerSize < Psf2HeaderSize)
            return ImportResult::failure(
                QStringLiteral("PSF 2 header gives its size as %1 bytes; it has at least %2.")
                    .arg(layout.headerSize)
                    .arg(Psf2HeaderSize));
        return glyphsFrom(bytes, layout);
    }
    if (startsWith(bytes, Psf1Magic, sizeof Psf1Magic)) {
        if (bytes.size() < Psf1HeaderSize)
            return ImportResult::failure(
                QStringLiteral("PSF 1 header is truncated: %1 of its %2 bytes.")
                    .arg(bytes.size())
                    .arg(Psf1HeaderSize));
        const auto mode = static_cast<std::uint8_t>(bytes[2]);
        layout.version = 1;
        layout.headerSize = Psf1HeaderSize;
        layout.glyphCount = (mode & Psf1Mode512) ? 512 : 256;
        // PSF 1 glyphs are always 8 pixels wide, one byte a row.
        layout.bytesPerGlyph = static_cast<std::uint8_t>(bytes[3]);
        layout.width = GlyphSize;
        layout.height = layout.bytesPerGlyph;
        return glyphsFrom(bytes, layout);
    }
    return ImportResult::failure(
        QStringLiteral("not a PSF font (no PSF 1 or PSF 2 magic number)."));
}

QByteArray psf1Bytes(const FontImage &font)
{
    QByteArray bytes;
    bytes.reserve(Psf1HeaderSize + FontFileSize);
    bytes.append(static_cast<char>(Psf1Magic[0]));
    bytes.append(static_cast<char>(Psf1Magic[1]));
    bytes.append('\0'); // mode 0: 256 glyphs, no Unicode table
    bytes.append(static_cast<char>(GlyphSize)); // bytes a glyph, which is its height
    bytes.append(fontFileBytes(font));
    return bytes;
}
