#include "formats/scalablefont.h"

#include "core/charbitmap.h"
#include "formats/freetype_p.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_FONT_FORMATS_H
#include FT_OUTLINE_H

#include <QChar>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <tuple>
#include <memory>

namespace {
// sfnt (TrueType 1.0, Apple "true", OpenType CFF "OTTO", collections), Type 1 as PFB segments
// or PFA text.
constexpr std::pair<const char *, int> Magics[] = {
    {"\0\1\0\0", 4},
    {"true", 4},
    {"OTTO", 4},
    {"ttcf", 4},
    {"typ1", 4},
    {"\x80\x01", 2},
    {"%!PS-AdobeFont", 14},
    {"%!FontType1", 11},
    {"%!PS-Adobe-3.0 Resource-Font", 28},
};
// A glyph reaching further from its origin than this many times the size drawn at is no font's:
// the font is damaged or hostile (its ascent and descent next to nothing, say), and drawing it
// would take memory for nothing (FreeType draws up to 32,767 pixels across).
constexpr long MaxGlyphHeights = 4;

QString codeName(int code)
{
    return QStringLiteral("code %1 (%2)").arg(code).arg(hexByte(code));
}

bool isLetterOrDigit(char32_t character)
{
    return (character >= U'A' && character <= U'Z') || (character >= U'a' && character <= U'z')
           || (character >= U'0' && character <= U'9');
}

// Calls ink(x, y) for each inked pixel of the glyph slot's bitmap: x from the pen position to the
// right, y the row upwards from the baseline (0 the first row above it).
void forEachInk(const FT_GlyphSlot slot, const std::function<void(long, long)> &ink)
{
    const FT_Bitmap &bitmap = slot->bitmap;
    if (!bitmap.buffer)
        return;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const unsigned char *line = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
        for (unsigned column = 0; column < bitmap.width; ++column) {
            const bool set = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                                 ? (line[column / 8] & (0x80u >> (column % 8))) != 0
                                 : line[column] >= 128;
            if (set)
                ink(slot->bitmap_left + static_cast<long>(column),
                    slot->bitmap_top - 1 - static_cast<long>(row));
        }
    }
}

// How each code finds its glyph: the character it is in the set through the font's Unicode
// map; a font without one (a symbol font) by the code itself, as the font numbers its glyphs.
class GlyphFinder final
{
public:
    GlyphFinder(FT_Face face, const CharacterSet &charset)
        : m_face(face)
        , m_charset(charset)
    {
        m_unicode = FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0;
        if (!m_unicode && FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) != 0 && face->num_charmaps)
            FT_Set_Charmap(face, face->charmaps[0]);
    }

    bool unicode() const { return m_unicode; }
    FT_UInt index(int code) const
    {
        if (!m_unicode) {
            // Symbol fonts keep their glyphs at U+F000 plus the code, in the private use area.
            const FT_UInt direct = FT_Get_Char_Index(m_face, FT_ULong(code));
            return direct ? direct : FT_Get_Char_Index(m_face, 0xF000 + FT_ULong(code));
        }
        const char32_t character = m_charset.character(code);
        return character == CharacterSet::NoCharacter ? 0 : FT_Get_Char_Index(m_face, character);
    }

private:
    FT_Face m_face = nullptr;
    const CharacterSet &m_charset;
    bool m_unicode = false;
};

// "36 '$', 40-41 '()', 192-197 'ÀÁÂÃÄÅ'": the codes as ranges, each with its characters where
// they can all be shown.
QString namedCodes(const QList<int> &codes, const CharacterSet &charset, bool keyed)
{
    QStringList ranges;
    for (qsizetype i = 0; i < codes.size();) {
        qsizetype last = i;
        while (last + 1 < codes.size() && codes[last + 1] == codes[last] + 1)
            ++last;
        QString text = last == i ? QString::number(codes[i])
                                 : QStringLiteral("%1-%2").arg(codes[i]).arg(codes[last]);
        QString shown;
        for (qsizetype at = i; keyed && at <= last; ++at) {
            const char32_t character = charset.character(codes[at]);
            // A space or a combining mark would not show between the quotes.
            if (character == CharacterSet::NoCharacter || !QChar::isPrint(character)
                || QChar::isSpace(character) || QChar::isMark(character)) {
                shown.clear();
                break;
            }
            shown += QString::fromUcs4(&character, 1);
        }
        if (!shown.isEmpty())
            text += QStringLiteral(" '%1'").arg(shown);
        ranges.append(text);
        i = last + 1;
    }
    return ranges.join(QStringLiteral(", "));
}

QString characters(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 character") : QStringLiteral("%1 characters").arg(count);
}
} // namespace

bool looksLikeScalableFont(QByteArrayView bytes)
{
    return std::any_of(std::begin(Magics), std::end(Magics), [bytes](const auto &magic) {
        return bytes.startsWith(QByteArrayView(magic.first, magic.second));
    });
}

int baselineRows(const QList<InkRows> &letters, const QList<InkRows> &all, int preferred)
{
    const QList<InkRows> &deciding = letters.isEmpty() ? all : letters;
    if (deciding.isEmpty())
        return std::clamp(preferred, 0, GlyphSize);
    int top = deciding.first().top();
    int bottom = deciding.first().bottom;
    for (const InkRows &ink : deciding) {
        top = std::max(top, ink.top());
        bottom = std::min(bottom, ink.bottom);
    }
    // With the baseline there, the pixels of these glyphs outside the cell.
    const auto cut = [](const QList<InkRows> &glyphs, int above) {
        qint64 pixels = 0;
        for (const InkRows &ink : glyphs) {
            for (qsizetype i = 0; i < ink.pixels.size(); ++i) {
                const int row = ink.bottom + int(i);
                if (row >= above || row < above - GlyphSize)
                    pixels += ink.pixels[i];
            }
        }
        return pixels;
    };
    // From keeping the letters' tops to keeping their lowest descenders: where the letters fit
    // together, every baseline between keeps them whole.
    const int first = std::min(top, bottom + GlyphSize);
    const int last = std::max(top, bottom + GlyphSize);
    int best = first;
    std::tuple<qint64, qint64, int> bestCost {std::numeric_limits<qint64>::max(), 0, 0};
    for (int above = first; above <= last; ++above) {
        const std::tuple<qint64, qint64, int> cost {cut(deciding, above), cut(all, above),
                                                    std::abs(above - preferred)};
        if (cost < bestCost) {
            best = above;
            bestCost = cost;
        }
    }
    return best;
}

ImportResult fontFromScalable(QByteArrayView bytes, const CharacterSet &charset,
                              std::optional<int> pixelSize)
{
    // FreeType would read these (unpacking WOFF's tables with no limit of ours), but they are web
    // fonts that a desktop font file always stands behind.
    if (bytes.startsWith("wOFF") || bytes.startsWith("wOF2"))
        return ImportResult::failure(QStringLiteral("a WOFF web font, which is not read: use the "
                                                    "TrueType or OpenType file it was made "
                                                    "from."));
    const FreeTypeLibrary library = startFreeType();
    if (!library)
        return ImportResult::failure(QStringLiteral("FreeType could not be started."));
    const FreeTypeFace face = openFreeTypeFace(library.get(), bytes, 0);
    if (!face)
        return ImportResult::failure(QStringLiteral("not a font FreeType can read (TrueType, "
                                                    "OpenType or Type 1)."));
    const QString format = QString::fromLatin1(FT_Get_Font_Format(face.get()));
    if (!FT_IS_SCALABLE(face.get()))
        return ImportResult::failure(QStringLiteral("a %1 font of bitmaps only, not a scalable "
                                                    "one; read it as bdf, which takes "
                                                    "FreeType's bitmap fonts.")
                                         .arg(format));
    if (!pixelSize) {
        ImportResult result = ImportResult::failure(
            QStringLiteral("a scalable %1 font, which is drawn at any size: it needs a height in "
                           "pixels from %2 to %3, ascent to descent (8 for a font that fills the "
                           "8x8 cell; 9 when its letters come out small, 7 when characters are "
                           "clipped).")
                .arg(format)
                .arg(MinPixelSize)
                .arg(MaxPixelSize));
        result.remedy = ImportResult::Remedy::Size;
        return result;
    }
    const int size = *pixelSize;
    if (size < MinPixelSize || size > MaxPixelSize)
        return ImportResult::failure(QStringLiteral("a size of %1 pixels; sizes go from %2 to %3.")
                                         .arg(size)
                                         .arg(MinPixelSize)
                                         .arg(MaxPixelSize));
    // The size is the font's height from its ascent to its descent (what Windows calls the cell
    // height), not its em: an em of 8 pixels draws most fonts taller than 8 rows, since their
    // ascent leaves room for accents, while a height of 8 is a font made for the 8-row cell.
    FT_Size_RequestRec request {FT_SIZE_REQUEST_TYPE_REAL_DIM, 0, FT_Long(size) * 64, 0, 0};
    if (FT_Request_Size(face.get(), &request) != 0)
        return ImportResult::failure(
            QStringLiteral("FreeType cannot draw the %1 font at %2 pixels.").arg(format).arg(size));
    const GlyphFinder finder(face.get(), charset);
    if (!finder.unicode() && !face->charmap)
        return ImportResult::failure(
            QStringLiteral("the %1 font has no character map, so no glyph is any character.")
                .arg(format));

    // Leaves the code's glyph in face->glyph as a monochrome bitmap, hinted for it; an empty
    // text when it could.
    const FT_GlyphSlot slot = face->glyph;
    const long maxExtent = MaxGlyphHeights * size * 64; // 26.6 fixed point
    const auto draw = [&](int code, FT_UInt index) -> QString {
        if (FT_Load_Glyph(face.get(), index, FT_LOAD_TARGET_MONO) != 0)
            return QStringLiteral("FreeType cannot load the glyph of %1.").arg(codeName(code));
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            FT_BBox box {};
            FT_Outline_Get_CBox(&slot->outline, &box);
            const FT_Pos edges[] = {box.xMin, box.xMax, box.yMin, box.yMax};
            if (std::any_of(std::begin(edges), std::end(edges),
                            [maxExtent](FT_Pos edge) { return std::labs(edge) > maxExtent; }))
                return QStringLiteral("the glyph of %1 reaches more than %2 times the font's "
                                      "height from its origin; the font is damaged.")
                    .arg(codeName(code))
                    .arg(MaxGlyphHeights);
        }
        // At 8 pixels a hyphen or a colon's dots are thinner than a pixel; with dropout
        // control the rasteriser keeps a pixel for a stroke between pixel centres instead of
        // losing it (Type 1 and CFF fonts come without it, which empties - : ; and `).
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            slot->outline.flags &= ~FT_OUTLINE_IGNORE_DROPOUTS;
            slot->outline.flags |= FT_OUTLINE_SMART_DROPOUTS | FT_OUTLINE_INCLUDE_STUBS;
        }
        if (slot->format != FT_GLYPH_FORMAT_BITMAP
            && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0)
            return QStringLiteral("FreeType cannot draw the glyph of %1.").arg(codeName(code));
        const unsigned char mode = slot->bitmap.pixel_mode;
        if (mode != FT_PIXEL_MODE_MONO && mode != FT_PIXEL_MODE_GRAY)
            return QStringLiteral("the glyph of %1 is not a plain bitmap.").arg(codeName(code));
        return {};
    };

    // First the ink of every glyph, to decide where the one baseline goes; then each glyph
    // again, placed on it. Drawing twice costs less than keeping 256 bitmaps of any size.
    ImportResult result;
    std::array<FT_UInt, CharacterCount> indexes {};
    QList<InkRows> letters;
    QList<InkRows> all;
    long letterAdvance = 0;
    long anyAdvance = 0;
    for (int code = 0; code < CharacterCount; ++code) {
        indexes[size_t(code)] = finder.index(code);
        if (indexes[size_t(code)] == 0) {
            result.uncovered.append(code);
            continue;
        }
        if (const QString error = draw(code, indexes[size_t(code)]); !error.isEmpty())
            return ImportResult::failure(error);
        // Bitmap rows run downwards from bitmap_top; the ink is counted upwards from its lowest.
        std::optional<InkRows> rows;
        forEachInk(slot, [&rows](long, long y) {
            const int row = int(y);
            if (!rows)
                rows = InkRows {row, {}};
            if (row < rows->bottom) {
                rows->pixels.insert(0, rows->bottom - row, 0);
                rows->bottom = row;
            }
            if (row >= rows->top())
                rows->pixels.resize(row - rows->bottom + 1);
            ++rows->pixels[row - rows->bottom];
        });
        const long advance = (slot->advance.x + 32) / 64;
        const bool letter = finder.unicode() && isLetterOrDigit(charset.character(code));
        anyAdvance = std::max(anyAdvance, advance);
        if (letter)
            letterAdvance = std::max(letterAdvance, advance);
        if (!rows)
            continue;
        all.append(*rows);
        if (letter)
            letters.append(*rows);
    }
    if (all.isEmpty() && result.uncovered.size() == CharacterCount)
        return ImportResult::failure(
            QStringLiteral("the %1 font has no glyph for any character of %2; there is nothing to "
                           "import.")
                .arg(format, charset.name()));

    // The baseline is the font's, not each glyph's: letters stand on one row, descenders go
    // below it. The font's own ascent and descent (the hinted metrics) rarely fit 8 rows at a
    // size that fills the cell, since they leave room for accents, so the glyphs' ink decides.
    const FT_Size_Metrics &metrics = face->size->metrics;
    const double ascent = double(metrics.ascender);
    const double descent = -double(metrics.descender);
    const int preferred = ascent + descent > 0
                              ? int(std::lround(GlyphSize * ascent / (ascent + descent)))
                              : GlyphSize - 1;
    const int above = baselineRows(letters, all, preferred);
    // A font narrower than the cell stands in its middle; a glyph that reaches past an edge
    // while narrower than the cell moves back inside rather than losing columns.
    const long advance = letterAdvance > 0 ? letterAdvance : anyAdvance;
    const long origin = advance < GlyphSize ? (GlyphSize - advance) / 2 : 0;

    for (int code = 0; code < CharacterCount; ++code) {
        const FT_UInt index = indexes[size_t(code)];
        if (index == 0)
            continue;
        if (const QString error = draw(code, index); !error.isEmpty())
            return ImportResult::failure(error);
        long left = GlyphSize;
        long right = -1;
        forEachInk(slot, [&](long x, long) {
            left = std::min(left, origin + x);
            right = std::max(right, origin + x);
        });
        long shift = 0;
        if (right - left < GlyphSize) {
            if (left < 0)
                shift = -left;
            else if (right >= GlyphSize)
                shift = GlyphSize - 1 - right;
        }
        CharBitMap glyph {};
        bool clipped = false;
        forEachInk(slot, [&](long x, long y) {
            const long column = origin + shift + x;
            const long row = above - 1 - y;
            if (column < 0 || column >= GlyphSize || row < 0 || row >= GlyphSize) {
                clipped = true;
                return;
            }
            glyph[size_t(row)] |= columnBit(int(column));
        });
        if (clipped)
            result.clipped.append(code);
        setGlyph(result.font, code, glyph);
    }

    QString name = QString::fromUtf8(face->family_name ? face->family_name : "");
    if (face->style_name && *face->style_name)
        name += QLatin1Char(' ') + QString::fromUtf8(face->style_name);
    result.description = QStringLiteral("%1 font%2, %3 pixels tall, %4 rows above the baseline "
                                        "and %5 below")
                             .arg(format, name.isEmpty() ? QString() : QStringLiteral(" ") + name)
                             .arg(size)
                             .arg(above)
                             .arg(GlyphSize - above);
    if (face->num_faces > 1)
        result.description += QStringLiteral(" (the first of its %1 faces)").arg(face->num_faces);
    result.keyed = CharacterCount - int(result.uncovered.size());
    if (finder.unicode()) {
        result.charset = charset.name();
        result.key = QStringLiteral("through the font's Unicode map");
    } else {
        result.key = QStringLiteral("as the font numbers them (it has no Unicode map)");
    }
    if (!result.clipped.isEmpty())
        result.warnings.append(
            QStringLiteral("clipped at the 8x8 cell's edges at %1 pixels tall: %2, %3.")
                .arg(size)
                .arg(characters(result.clipped.size()))
                .arg(namedCodes(result.clipped, charset, finder.unicode())));
    // Control codes are no font's characters; only the others are worth naming as missing.
    QList<int> lacking;
    for (const int code : std::as_const(result.uncovered)) {
        const char32_t character = charset.character(code);
        if (finder.unicode() && character != CharacterSet::NoCharacter
            && QChar::category(character) != QChar::Other_Control)
            lacking.append(code);
    }
    if (!lacking.isEmpty())
        result.warnings.append(QStringLiteral("the font lacks %1 of %2: %3.")
                                   .arg(characters(lacking.size()), charset.name(),
                                        namedCodes(lacking, charset, true)));
    return result;
}
