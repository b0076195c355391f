#include "formats/bdf.h"

#include "formats/freetype_p.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BDF_H
#include FT_FONT_FORMATS_H
#include FT_WINFONTS_H

#include <memory>

namespace {
constexpr char PcfMagic[] = "\1fcp";
constexpr char BdfMagic[] = "STARTFONT";
constexpr char MzMagic[] = "MZ"; // Windows FON: a resource-only executable

bool pixelSet(const FT_Bitmap &bitmap, unsigned row, unsigned column)
{
    const unsigned char *line = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
        return line[column / 8] & (0x80u >> (column % 8));
    return line[column] >= 128; // FT_PIXEL_MODE_GRAY, 256 levels
}

QString codeName(unsigned code)
{
    return QStringLiteral("code %1 (%2)").arg(code).arg(hexByte(static_cast<int>(code)));
}

// The face's size in whole pixels once a strike is selected: advance and ascent plus descent.
struct CellSize
{
    long width = 0;
    long ascent = 0;
    long height = 0;
};

CellSize cellSizeOf(FT_Face face)
{
    const FT_Size_Metrics &metrics = face->size->metrics;
    return {metrics.max_advance / 64, metrics.ascender / 64,
            (metrics.ascender - metrics.descender) / 64};
}

// Selects the first strike whose cell fits 8x8; false, with the first strike selected, when none
// does.
bool selectFittingStrike(FT_Face face)
{
    for (int i = 0; i < face->num_fixed_sizes; ++i) {
        if (FT_Select_Size(face, i) != 0)
            continue;
        const CellSize cell = cellSizeOf(face);
        if (cell.width > 0 && cell.height > 0 && cell.width <= GlyphSize
            && cell.height <= GlyphSize)
            return true;
    }
    FT_Select_Size(face, 0);
    return false;
}

// iconv's name for a Windows font's character set; null where it is not one single-byte set
// (OEM, the one of the system the font was made on; symbols; the CJK sets).
const char *windowsCharsetName(FT_Byte charset)
{
    switch (charset) {
    case FT_WinFNT_ID_CP1252:
        return "CP1252";
    case FT_WinFNT_ID_MAC:
        return "MACINTOSH";
    case FT_WinFNT_ID_CP1253:
        return "CP1253";
    case FT_WinFNT_ID_CP1254:
        return "CP1254";
    case FT_WinFNT_ID_CP1258:
        return "CP1258";
    case FT_WinFNT_ID_CP1255:
        return "CP1255";
    case FT_WinFNT_ID_CP1256:
        return "CP1256";
    case FT_WinFNT_ID_CP1257:
        return "CP1257";
    case FT_WinFNT_ID_CP1251:
        return "CP1251";
    case FT_WinFNT_ID_CP874:
        return "CP874";
    case FT_WinFNT_ID_CP1250:
        return "CP1250";
    default:
        return nullptr;
    }
}

// How a code finds its glyph in the face: the character it is in the set, looked up in the
// face's Unicode map or, through the set the font is in, by the font's own code for it; or,
// where the font's set is unknown, the code as it is.
struct CodeKey
{
    bool unicode = false;
    std::optional<CharacterSet> fontSet;
    QString fontSetName; // "KOI8-R", "CP1251"; empty when the font names none
    QString warning;

    // The code in the face's current character map, or nothing when the font cannot have it.
    std::optional<FT_ULong> fontCode(const CharacterSet &charset, int code) const
    {
        if (!unicode && !fontSet)
            return FT_ULong(code);
        const char32_t character = charset.character(code);
        if (character == CharacterSet::NoCharacter)
            return std::nullopt;
        if (unicode)
            return FT_ULong(character);
        const int own = fontSet->code(character);
        return own < 0 ? std::nullopt : std::optional<FT_ULong>(FT_ULong(own));
    }
};

CodeKey codeKeyOf(FT_Face face)
{
    CodeKey key;
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0) {
        key.unicode = true;
        return key;
    }
    if (!face->charmap && face->num_charmaps > 0)
        FT_Set_Charmap(face, face->charmaps[0]);
    const char *encoding = nullptr;
    const char *registry = nullptr;
    FT_WinFNT_HeaderRec windows {};
    if (FT_Get_BDF_Charset_ID(face, &encoding, &registry) == 0 && registry && encoding) {
        key.fontSetName
            = QString::fromLatin1(registry) + QLatin1Char('-') + QString::fromLatin1(encoding);
        key.fontSet = CharacterSet::ofXRegistry(QString::fromLatin1(registry),
                                                QString::fromLatin1(encoding));
    } else if (FT_Get_WinFNT_Header(face, &windows) == 0) {
        const char *name = windowsCharsetName(windows.charset);
        key.fontSetName = name ? QString::fromLatin1(name)
                               : QStringLiteral("Windows character set %1").arg(windows.charset);
        QString why;
        if (name)
            key.fontSet = CharacterSet::named(QString::fromLatin1(name), &why);
    }
    if (!key.fontSetName.isEmpty() && !key.fontSet)
        key.warning = QStringLiteral("the font's character set, %1, is not one iconv knows; its "
                                     "codes are taken as the font numbers them.")
                          .arg(key.fontSetName);
    return key;
}
} // namespace

bool looksLikeFreeTypeBitmapFont(QByteArrayView bytes)
{
    return bytes.startsWith(QByteArrayView(PcfMagic)) || bytes.startsWith(QByteArrayView(BdfMagic))
           || bytes.startsWith(QByteArrayView(MzMagic));
}

ImportResult fontFromFreeType(QByteArrayView bytes, const CharacterSet &charset)
{
    const FreeTypeLibrary library = startFreeType();
    if (!library)
        return ImportResult::failure(QStringLiteral("FreeType could not be started."));

    FreeTypeFace face = openFreeTypeFace(library.get(), bytes, 0);
    if (!face)
        return ImportResult::failure(
            QStringLiteral("not a font FreeType can read (BDF, PCF, Windows FON or FNT)."));
    if (face->num_fixed_sizes == 0)
        return ImportResult::failure(QStringLiteral("a scalable %1 font, not a bitmap font; read it "
                                                    "as ttf, at a size in pixels.")
                                         .arg(QString::fromLatin1(FT_Get_Font_Format(face.get()))));
    // A Windows FON holds one face per size: take the first that fits.
    bool fits = selectFittingStrike(face.get());
    for (FT_Long index = 1; !fits && index < face->num_faces; ++index) {
        FreeTypeFace other = openFreeTypeFace(library.get(), bytes, index);
        if (other && selectFittingStrike(other.get())) {
            face = std::move(other);
            fits = true;
        }
    }
    const QString format = QString::fromLatin1(FT_Get_Font_Format(face.get()));
    const CellSize cell = cellSizeOf(face.get());
    if (!fits && (cell.width <= 0 || cell.height <= 0))
        return ImportResult::failure(QStringLiteral("a %1 font whose size claims a cell of %2x%3 "
                                                    "pixels; the file is damaged.")
                                         .arg(format)
                                         .arg(cell.width)
                                         .arg(cell.height));
    if (!fits)
        return ImportResult::failure(QStringLiteral("a %1 font of %2x%3 pixels; only fonts up to "
                                                    "8x8 fit.")
                                         .arg(format)
                                         .arg(cell.width)
                                         .arg(cell.height));
    const CodeKey key = codeKeyOf(face.get());

    ImportResult result;
    int found = 0;
    for (unsigned code = 0; code < CharacterCount; ++code) {
        FT_UInt index = 0;
        // A glyph kept by its position, as bdfBytes() writes one whose code has no character.
        if (const std::optional<char32_t> position
            = positionCharacter(charset, static_cast<int>(code));
            key.unicode && position)
            index = FT_Get_Char_Index(face.get(), *position);
        if (const std::optional<FT_ULong> fontCode = key.fontCode(charset, static_cast<int>(code));
            index == 0 && fontCode)
            index = FT_Get_Char_Index(face.get(), *fontCode);
        if (index == 0) {
            result.uncovered.append(static_cast<int>(code));
            continue;
        }
        if (FT_Load_Glyph(face.get(), index, FT_LOAD_RENDER | FT_LOAD_MONOCHROME) != 0)
            return ImportResult::failure(
                QStringLiteral("FreeType cannot load the glyph of %1.").arg(codeName(code)));
        ++found;
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap &bitmap = slot->bitmap;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
            return ImportResult::failure(
                QStringLiteral("the glyph of %1 is not a plain bitmap.").arg(codeName(code)));
        CharBitMap glyph {};
        // A glyph whose size has no bitmap lines behind it (a BDF BBX without BITMAP) comes back
        // with rows and width but no buffer: it has no ink.
        const unsigned rows = bitmap.buffer ? bitmap.rows : 0;
        for (unsigned row = 0; row < rows; ++row) {
            for (unsigned column = 0; column < bitmap.width; ++column) {
                if (!pixelSet(bitmap, row, column))
                    continue;
                // bitmap_top counts rows above the baseline, which lies cell.ascent rows down.
                const long y = cell.ascent - slot->bitmap_top + static_cast<long>(row);
                const long x = slot->bitmap_left + static_cast<long>(column);
                if (y < 0 || y >= GlyphSize || x < 0 || x >= GlyphSize)
                    return ImportResult::failure(
                        QStringLiteral("the glyph of %1 reaches outside the 8x8 cell (pixel at "
                                       "column %2, row %3).")
                            .arg(codeName(code))
                            .arg(x)
                            .arg(y));
                glyph[static_cast<size_t>(y)] |= columnBit(static_cast<int>(x));
            }
        }
        setGlyph(result.font, static_cast<int>(code), glyph);
    }
    const bool keyed = key.unicode || key.fontSet;
    if (found == 0 && !keyed)
        return ImportResult::failure(
            QStringLiteral("the %1 font has no glyph with a code from 0 to 255; there is "
                           "nothing to import.")
                .arg(format));
    if (found == 0)
        return ImportResult::failure(
            QStringLiteral("the %1 font has no glyph for any character of %2; there is nothing to "
                           "import.")
                .arg(format, charset.name()));
    result.description = QStringLiteral("%1, %2x%3").arg(format).arg(cell.width).arg(cell.height);
    if (!key.fontSetName.isEmpty())
        result.description += QStringLiteral(", in %1").arg(key.fontSetName);
    if (keyed) {
        result.charset = charset.name();
        result.keyed = found;
        result.key = key.unicode
                         ? QStringLiteral("through the font's Unicode map")
                         : QStringLiteral("through the font's %1 codes").arg(key.fontSetName);
    } else {
        result.keyed = found;
        result.key = key.fontSetName.isEmpty()
                         ? QStringLiteral("as the font numbers them (it names no character set)")
                         : QStringLiteral("as the font numbers them");
    }
    if (!key.warning.isEmpty())
        result.warnings.append(key.warning);
    return result;
}

namespace {
constexpr qsizetype XlfdLimit = 255;

QByteArray bdfFamily(const QString &name)
{
    // An XLFD field may hold neither '-' nor quotes: keep letters, digits and spaces.
    QByteArray family;
    for (const QChar c : name) {
        if (c.unicode() < 128 && (c.isLetterOrNumber() || c == QLatin1Char(' ')))
            family.append(static_cast<char>(c.unicode()));
        else if (!family.endsWith(' '))
            family.append(' ');
    }
    family = family.trimmed();
    return family.isEmpty() ? QByteArrayLiteral("Glyphwright") : family;
}

// A row's byte in hex as BITMAP lines want it: hexByte() without the "0x".
QByteArray hexRow(std::uint8_t row)
{
    return hexByte(row).sliced(2).toLatin1();
}
} // namespace

QByteArray bdfBytes(const FontImage &font, const QString &familyName, const CharacterSet &charset,
                    const CodeRange &codes)
{
    // Latin-1 keeps its codes; any other set is written as Unicode, which FreeType maps and
    // fontconfig reads: fontconfig cannot read a font in another X registry (KOI8-R,
    // ISO8859-15) at all.
    const bool unicode = !charset.isLatin1();
    const QByteArray registry = unicode ? "ISO10646-1" : "ISO8859-1";
    const qsizetype dash = registry.lastIndexOf('-');
    constexpr char FontStart[] = "FONT -Glyphwright-";
    // 8 pixels at 75 dpi is 7.68 points, written as 80 tenths as X fonts of this size are.
    const QByteArray fontEnd = "-Medium-R-Normal--8-80-75-75-C-80-" + registry;
    // An X font name is at most 255 characters, and FreeType refuses a FONT line past that.
    const qsizetype maxFamily = XlfdLimit - qsizetype(sizeof FontStart - 1) - fontEnd.size();
    const QByteArray family = bdfFamily(familyName).left(maxFamily).trimmed();
    const QByteArray ascent = QByteArray::number(GlyphSize - BdfDescent);
    const QByteArray descent = QByteArray::number(BdfDescent);
    QByteArray out = QByteArrayLiteral("STARTFONT 2.1\n") + FontStart + family + fontEnd + "\n"
                     + "SIZE 8 75 75\n" + "FONTBOUNDINGBOX 8 8 0 -" + descent + "\n"
                     + "STARTPROPERTIES 16\n" + "FOUNDRY \"Glyphwright\"\n" + "FAMILY_NAME \""
                     + family + "\"\n" + "WEIGHT_NAME \"Medium\"\n" + "SLANT \"R\"\n"
                     + "SETWIDTH_NAME \"Normal\"\n" + "ADD_STYLE_NAME \"\"\n" + "PIXEL_SIZE 8\n"
                     + "POINT_SIZE 80\n" + "RESOLUTION_X 75\n" + "RESOLUTION_Y 75\n"
                     + "SPACING \"C\"\n" + "AVERAGE_WIDTH 80\n" + "CHARSET_REGISTRY \""
                     + registry.left(dash) + "\"\n" + "CHARSET_ENCODING \"" + registry.mid(dash + 1)
                     + "\"\n" + "FONT_ASCENT " + ascent + "\n" + "FONT_DESCENT " + descent + "\n"
                     + "ENDPROPERTIES\n" + "CHARS " + QByteArray::number(codes.count()) + "\n";
    for (int code = codes.first; code <= codes.last; ++code) {
        const QByteArray number = QByteArray::number(code);
        // A code the set gives no character (or the character of a lower code) keeps its glyph
        // by its position, or where that is a character of the set, without one: BDF's
        // ENCODING -1.
        const std::optional<char32_t> position = positionCharacter(charset, code);
        const QByteArray encoding = !unicode ? number
                                    : charset.hasOwnCharacter(code)
                                        ? QByteArray::number(uint(charset.character(code)))
                                    : position ? QByteArray::number(uint(*position))
                                               : QByteArrayLiteral("-1");
        // SWIDTH is the advance in thousandths of the point size: 8 px / (8 pt * 75 / 72 dpi).
        out += "STARTCHAR char" + number + "\nENCODING " + encoding + "\nSWIDTH 960 0\n"
               + "DWIDTH 8 0\n" + "BBX 8 8 0 -" + descent + "\nBITMAP\n";
        for (const std::uint8_t row : glyphOf(font, code))
            out += hexRow(row) + '\n';
        out += "ENDCHAR\n";
    }
    out += "ENDFONT\n";
    return out;
}
