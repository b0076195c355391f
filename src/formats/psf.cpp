#include "formats/psf.h"

#include <QHash>

#include <algorithm>
#include <cstdint>

namespace {
constexpr std::uint8_t Psf1Magic[] = {0x36, 0x04};
constexpr int Psf1HeaderSize = 4;
constexpr std::uint8_t Psf1Mode512 = 0x01; // 512 glyphs instead of 256
constexpr std::uint8_t Psf1ModeHasTable = 0x02;
constexpr std::uint8_t Psf1ModeHasSequences = 0x04; // a table with sequences, which is one too
constexpr quint16 Psf1Separator = 0xFFFF; // ends a glyph's entry in a PSF 1 table
constexpr quint16 Psf1SequenceStart = 0xFFFE;
constexpr std::uint8_t Psf2Magic[] = {0x72, 0xB5, 0x4A, 0x86};
constexpr int Psf2HeaderSize = 32; // magic, version, header size, flags, length, charsize, h, w
constexpr quint32 Psf2HasTable = 0x01;
constexpr std::uint8_t Psf2Separator = 0xFF; // bytes UTF-8 never uses
constexpr std::uint8_t Psf2SequenceStart = 0xFE;

bool startsWith(QByteArrayView bytes, const std::uint8_t *magic, qsizetype size)
{
    return bytes.size() >= size
           && std::equal(magic, magic + size, reinterpret_cast<const std::uint8_t *>(bytes.data()));
}

std::uint8_t byteAt(QByteArrayView bytes, qsizetype at)
{
    return static_cast<std::uint8_t>(bytes[at]);
}

quint32 le32(QByteArrayView bytes, qsizetype at)
{
    return quint32(byteAt(bytes, at)) | quint32(byteAt(bytes, at + 1)) << 8
           | quint32(byteAt(bytes, at + 2)) << 16 | quint32(byteAt(bytes, at + 3)) << 24;
}

struct Layout
{
    int version = 0;
    qint64 headerSize = 0;
    qint64 glyphCount = 0;
    qint64 bytesPerGlyph = 0;
    qint64 width = 0;
    qint64 height = 0;
    bool hasTable = false;

    qint64 tableStart() const { return headerSize + glyphCount * bytesPerGlyph; }
};

CharBitMap glyphAt(QByteArrayView bytes, const Layout &layout, qint64 index)
{
    // Rows narrower than 8 pixels may carry stray bits past their width.
    const auto mask = static_cast<std::uint8_t>(0xFF << (GlyphSize - layout.width));
    const qint64 start = layout.headerSize + index * layout.bytesPerGlyph;
    CharBitMap glyph {};
    for (qint64 row = 0; row < layout.height; ++row)
        glyph[static_cast<size_t>(row)] = byteAt(bytes, start + row) & mask;
    return glyph;
}

// The single characters of each glyph's table entry (sequences, a character with combining
// marks, name no single code), first glyph first; or why the table cannot be read.
struct Table
{
    QHash<char32_t, qint64> glyphOf;
    QString error;
};

Table readTable(QByteArrayView bytes, const Layout &layout)
{
    Table table;
    qsizetype at = layout.tableStart();
    const auto claim = [&table](char32_t character, qint64 glyph) {
        if (!table.glyphOf.contains(character))
            table.glyphOf.insert(character, glyph);
    };
    const auto ended = [&table, &layout](qint64 glyph) {
        table.error = QStringLiteral("the Unicode table ends at glyph %1 of %2; the glyphs can be "
                                     "taken in their order without it.")
                          .arg(numberText(glyph), numberText(layout.glyphCount));
        return table;
    };
    for (qint64 glyph = 0; glyph < layout.glyphCount; ++glyph) {
        bool inSequences = false;
        if (layout.version == 1) {
            for (;;) {
                if (at + 2 > bytes.size())
                    return ended(glyph);
                const quint16 value = quint16(byteAt(bytes, at) | byteAt(bytes, at + 1) << 8);
                at += 2;
                if (value == Psf1Separator)
                    break;
                if (value == Psf1SequenceStart)
                    inSequences = true;
                else if (!inSequences)
                    claim(value, glyph);
            }
            continue;
        }
        for (;;) {
            if (at >= bytes.size())
                return ended(glyph);
            const std::uint8_t lead = byteAt(bytes, at);
            if (lead == Psf2Separator) {
                ++at;
                break;
            }
            if (lead == Psf2SequenceStart || inSequences) {
                inSequences = true;
                ++at;
                continue;
            }
            // One character in UTF-8: the lead byte tells how many continuation bytes follow.
            const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
            char32_t character = length == 1 ? lead : lead & (0x3F >> (length - 1));
            bool valid = lead < 0x80 || (lead >= 0xC2 && lead <= 0xF4);
            for (int i = 1; valid && i < length; ++i) {
                valid = at + i < bytes.size() && (byteAt(bytes, at + i) & 0xC0) == 0x80;
                if (valid)
                    character = character << 6 | (byteAt(bytes, at + i) & 0x3F);
            }
            // The shortest form only, and no surrogates or values past U+10FFFF: E0 81 81 is
            // not 'A'.
            constexpr char32_t Least[] = {0, 0, 0x80, 0x800, 0x10000};
            valid = valid && character >= Least[length] && character <= 0x10FFFF
                    && !(character >= 0xD800 && character <= 0xDFFF);
            if (!valid) {
                table.error = QStringLiteral("the Unicode table holds a byte that is not UTF-8 "
                                             "(0x%1) at glyph %2; the glyphs can be taken "
                                             "in their order without it.")
                                  .arg(QString::number(lead, 16).toUpper())
                                  .arg(glyph);
                return table;
            }
            claim(character, glyph);
            at += length;
        }
    }
    return table;
}

ImportResult glyphsFrom(QByteArrayView bytes, const Layout &layout, const CharacterSet &charset,
                        bool byPosition)
{
    const QString version = QString::number(layout.version);
    if (layout.width > GlyphSize || layout.height > GlyphSize)
        return ImportResult::failure(
            QStringLiteral("PSF %1 with %2x%3 glyphs; only glyphs up to 8x8 fit this font.")
                .arg(version)
                .arg(layout.width)
                .arg(layout.height));
    if (layout.width <= 0 || layout.height <= 0)
        return ImportResult::failure(
            QStringLiteral("PSF %1 header gives glyphs of %2x%3 pixels; the file is damaged.")
                .arg(version)
                .arg(layout.width)
                .arg(layout.height));
    // Rows of whole bytes: up to 8 pixels wide, a byte a row.
    if (layout.bytesPerGlyph != layout.height)
        return ImportResult::failure(
            QStringLiteral("PSF %1 header gives %2 bytes a glyph; %3x%4 glyphs take %4.")
                .arg(version)
                .arg(layout.bytesPerGlyph)
                .arg(layout.width)
                .arg(layout.height));
    if (layout.glyphCount == 0)
        return ImportResult::failure(
            QStringLiteral("PSF %1 header gives a glyph count of 0: the font holds no glyphs.")
                .arg(version));
    if (layout.headerSize > bytes.size()
        || layout.glyphCount > (bytes.size() - layout.headerSize) / layout.bytesPerGlyph)
        return ImportResult::failure(
            QStringLiteral("PSF %1 is truncated: %2 glyphs need %3 bytes after the header, the "
                           "file has %4.")
                .arg(version, numberText(layout.glyphCount),
                     numberText(layout.glyphCount * layout.bytesPerGlyph),
                     numberText(std::max<qint64>(0, bytes.size() - layout.headerSize))));
    ImportResult result;
    result.description = QStringLiteral("PSF %1, %2x%3, %4 glyphs")
                             .arg(version)
                             .arg(layout.width)
                             .arg(layout.height)
                             .arg(numberText(layout.glyphCount));
    if (layout.hasTable && !byPosition) {
        const Table table = readTable(bytes, layout);
        if (!table.error.isEmpty()) {
            ImportResult failed = ImportResult::failure(table.error);
            failed.remedy = ImportResult::Remedy::ByPosition;
            return failed;
        }
        result.description += QStringLiteral(" with a Unicode table");
        result.charset = charset.name();
        result.key = QStringLiteral("through the Unicode table");
        for (int code = 0; code < CharacterCount; ++code) {
            auto glyph = table.glyphOf.cend();
            if (const std::optional<char32_t> position = positionCharacter(charset, code))
                glyph = table.glyphOf.constFind(*position);
            if (glyph == table.glyphOf.cend())
                glyph = table.glyphOf.constFind(charset.character(code));
            if (glyph == table.glyphOf.cend()) {
                result.uncovered.append(code);
                continue;
            }
            setGlyph(result.font, code, glyphAt(bytes, layout, *glyph));
            ++result.keyed;
        }
        if (result.keyed == 0) {
            ImportResult failed = ImportResult::failure(
                QStringLiteral("the font's Unicode table has none of the characters of %1; "
                               "name the character set its codes are in, or take the glyphs in "
                               "their order.")
                    .arg(charset.name()));
            failed.remedy = ImportResult::Remedy::CharsetOrByPosition;
            return failed;
        }
        return result;
    }
    if (!layout.hasTable)
        result.description += QStringLiteral(", no Unicode table");
    const qint64 used = std::min<qint64>(layout.glyphCount, CharacterCount);
    for (int code = 0; code < CharacterCount; ++code) {
        if (code < used)
            setGlyph(result.font, code, glyphAt(bytes, layout, code));
        else
            result.uncovered.append(code);
    }
    result.byPosition = int(used);
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

ImportResult fontFromPsf(QByteArrayView bytes, const CharacterSet &charset, bool byPosition)
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
        layout.hasTable = le32(bytes, 12) & Psf2HasTable;
        layout.glyphCount = le32(bytes, 16);
        layout.bytesPerGlyph = le32(bytes, 20);
        layout.height = le32(bytes, 24);
        layout.width = le32(bytes, 28);
        if (layout.headerSize < Psf2HeaderSize)
            return ImportResult::failure(
                QStringLiteral("PSF 2 header gives its size as %1 bytes; it has at least %2.")
                    .arg(layout.headerSize)
                    .arg(Psf2HeaderSize));
        return glyphsFrom(bytes, layout, charset, byPosition);
    }
    if (startsWith(bytes, Psf1Magic, sizeof Psf1Magic)) {
        if (bytes.size() < Psf1HeaderSize)
            return ImportResult::failure(
                QStringLiteral("PSF 1 header is truncated: %1 of its %2 bytes.")
                    .arg(bytes.size())
                    .arg(Psf1HeaderSize));
        const std::uint8_t mode = byteAt(bytes, 2);
        layout.version = 1;
        layout.headerSize = Psf1HeaderSize;
        layout.glyphCount = (mode & Psf1Mode512) ? 512 : 256;
        layout.hasTable = mode & (Psf1ModeHasTable | Psf1ModeHasSequences);
        // PSF 1 glyphs are always 8 pixels wide, one byte a row.
        layout.bytesPerGlyph = byteAt(bytes, 3);
        layout.width = GlyphSize;
        layout.height = layout.bytesPerGlyph;
        return glyphsFrom(bytes, layout, charset, byPosition);
    }
    return ImportResult::failure(
        QStringLiteral("not a PSF font (no PSF 1 or PSF 2 magic number)."));
}

QByteArray psf1Bytes(const FontImage &font, const CharacterSet &charset)
{
    QByteArray bytes;
    bytes.reserve(Psf1HeaderSize + FontFileSize + CharacterCount * 4);
    bytes.append(static_cast<char>(Psf1Magic[0]));
    bytes.append(static_cast<char>(Psf1Magic[1]));
    bytes.append(static_cast<char>(Psf1ModeHasTable)); // 256 glyphs
    bytes.append(static_cast<char>(GlyphSize)); // bytes a glyph, which is its height
    bytes.append(fontFileBytes(font));
    const auto append16 = [&bytes](quint16 value) {
        bytes.append(static_cast<char>(value & 0xFF));
        bytes.append(static_cast<char>(value >> 8));
    };
    for (int code = 0; code < CharacterCount; ++code) {
        // PSF 1 entries are 16-bit: a character beyond them, or none, gives no entry.
        const char32_t character = charset.character(code);
        if (character < Psf1SequenceStart)
            append16(static_cast<quint16>(character));
        // A glyph whose code has no character of its own is kept by its position.
        if (const std::optional<char32_t> position = positionCharacter(charset, code))
            append16(static_cast<quint16>(*position));
        append16(Psf1Separator);
    }
    return bytes;
}
