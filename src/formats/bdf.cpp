#include "formats/bdf.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_FONT_FORMATS_H

#include <memory>

namespace {
constexpr char PcfMagic[] = "\1fcp";
constexpr char BdfMagic[] = "STARTFONT";
constexpr char MzMagic[] = "MZ"; // Windows FON: a resource-only executable

struct LibraryDeleter
{
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter
{
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using Library = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryDeleter>;
using Face = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter>;

Face openFace(FT_Library library, QByteArrayView bytes, FT_Long index)
{
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte *>(bytes.data()),
                           static_cast<FT_Long>(bytes.size()), index, &face)
        != 0)
        return {};
    return Face(face);
}

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
} // namespace

bool looksLikeFreeTypeBitmapFont(QByteArrayView bytes)
{
    return bytes.startsWith(QByteArrayView(PcfMagic)) || bytes.startsWith(QByteArrayView(BdfMagic))
           || bytes.startsWith(QByteArrayView(MzMagic));
}

ImportResult fontFromFreeType(QByteArrayView bytes)
{
    FT_Library rawLibrary = nullptr;
    if (FT_Init_FreeType(&rawLibrary) != 0)
        return ImportResult::failure(QStringLiteral("FreeType could not be started."));
    const Library library(rawLibrary);

    Face face = openFace(library.get(), bytes, 0);
    if (!face)
        return ImportResult::failure(
            QStringLiteral("not a font FreeType can read (BDF, PCF, Windows FON or FNT)."));
    if (face->num_fixed_sizes == 0)
        return ImportResult::failure(QStringLiteral("a scalable %1 font, not a bitmap font.")
                                         .arg(QString::fromLatin1(FT_Get_Font_Format(face.get()))));
    // A Windows FON holds one face per size: take the first that fits.
    bool fits = selectFittingStrike(face.get());
    for (FT_Long index = 1; !fits && index < face->num_faces; ++index) {
        Face other = openFace(library.get(), bytes, index);
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
    if (!face->charmap && face->num_charmaps > 0)
        FT_Set_Charmap(face.get(), face->charmaps[0]);

    ImportResult result;
    int found = 0;
    for (unsigned code = 0; code < CharacterCount; ++code) {
        const FT_UInt index = FT_Get_Char_Index(face.get(), code);
        if (index == 0)
            continue;
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
    if (found == 0)
        return ImportResult::failure(
            QStringLiteral("the %1 font has no glyph with a code from 0 to 255; there is "
                           "nothing to import.")
                .arg(format));
    result.description = QStringLiteral("%1, %2x%3, %4 of codes 0 to 255 present")
                             .arg(format)
                             .arg(cell.width)
                             .arg(cell.height)
                             .arg(found);
    if (found < CharacterCount)
        result.warnings.append(QStringLiteral("%1 codes are not in the font and are left blank.")
                                   .arg(CharacterCount - found));
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

QByteArray bdfBytes(const FontImage &font, const QString &familyName, const CodeRange &codes)
{
    constexpr char FontStart[] = "FONT -Glyphwright-";
    // 8 pixels at 75 dpi is 7.68 points, written as 80 tenths as X fonts of this size are.
    constexpr char FontEnd[] = "-Medium-R-Normal--8-80-75-75-C-80-ISO8859-1";
    // An X font name is at most 255 characters, and FreeType refuses a FONT line past that.
    const qsizetype maxFamily = XlfdLimit - qsizetype(sizeof FontStart - 1 + sizeof FontEnd - 1);
    const QByteArray family = bdfFamily(familyName).left(maxFamily).trimmed();
    const QByteArray ascent = QByteArray::number(GlyphSize - BdfDescent);
    const QByteArray descent = QByteArray::number(BdfDescent);
    QByteArray out = QByteArrayLiteral("STARTFONT 2.1\n") + FontStart + family + FontEnd + "\n"
                     + "SIZE 8 75 75\n" + "FONTBOUNDINGBOX 8 8 0 -" + descent + "\n"
                     + "STARTPROPERTIES 16\n" + "FOUNDRY \"Glyphwright\"\n" + "FAMILY_NAME \""
                     + family + "\"\n" + "WEIGHT_NAME \"Medium\"\n" + "SLANT \"R\"\n"
                     + "SETWIDTH_NAME \"Normal\"\n" + "ADD_STYLE_NAME \"\"\n" + "PIXEL_SIZE 8\n"
                     + "POINT_SIZE 80\n" + "RESOLUTION_X 75\n" + "RESOLUTION_Y 75\n"
                     + "SPACING \"C\"\n" + "AVERAGE_WIDTH 80\n" + "CHARSET_REGISTRY \"ISO8859\"\n"
                     + "CHARSET_ENCODING \"1\"\n" + "FONT_ASCENT " + ascent + "\n" + "FONT_DESCENT "
                     + descent + "\n" + "ENDPROPERTIES\n" + "CHARS "
                     + QByteArray::number(codes.count()) + "\n";
    for (int code = codes.first; code <= codes.last; ++code) {
        const QByteArray number = QByteArray::number(code);
        // SWIDTH is the advance in thousandths of the point size: 8 px / (8 pt * 75 / 72 dpi).
        out += "STARTCHAR char" + number + "\nENCODING " + number + "\nSWIDTH 960 0\n"
               + "DWIDTH 8 0\n" + "BBX 8 8 0 -" + descent + "\nBITMAP\n";
        for (const std::uint8_t row : glyphOf(font, code))
            out += hexRow(row) + '\n';
        out += "ENDCHAR\n";
    }
    out += "ENDFONT\n";
    return out;
}
