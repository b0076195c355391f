#include "formats/fontformats.h"

#include "core/asmexport.h"
#include "core/modtools.h"
#include "formats/asmread.h"
#include "formats/bdf.h"
#include "formats/bmpimage.h"
#include "formats/csource.h"
#include "formats/fonttext.h"
#include "formats/gzip.h"
#include "formats/inkimage.h"
#include "formats/pngimage.h"
#include "formats/psf.h"
#include "formats/raw.h"
#include "formats/scalablefont.h"

#include <QFileInfo>
#include <QStringList>

namespace {
QString nameOr(const WriteOptions &options, const QString &fallback)
{
    return options.name ? *options.name : fallback;
}

ImportResult readRaw(QByteArrayView bytes, const ReadOptions &options)
{
    return fontFromRaw(bytes, {options.offset, options.first, options.count, options.layout});
}

QByteArray writeRaw(const FontImage &font, const WriteOptions &options)
{
    return tableBytes(font, options.codes, options.layout);
}

ImportResult readPsf(QByteArrayView bytes, const ReadOptions &options)
{
    return fontFromPsf(bytes, options.charset, options.byPosition);
}

QByteArray writePsf(const FontImage &font, const WriteOptions &options)
{
    return psf1Bytes(font, options.charset);
}

ImportResult readFreeType(QByteArrayView bytes, const ReadOptions &options)
{
    return fontFromFreeType(bytes, options.charset);
}

ImportResult readScalable(QByteArrayView bytes, const ReadOptions &options)
{
    return fontFromScalable(bytes, options.charset, options.pixelSize);
}

QByteArray writeBdf(const FontImage &font, const WriteOptions &options)
{
    return bdfBytes(font, nameOr(options, fontBaseName(options.fontFileName)), options.charset,
                    options.codes);
}

QString convertToPngHint(const QString &kind)
{
    const QString suffix = kind == QLatin1String("JPEG") ? QStringLiteral("jpg") : kind.toLower();
    return QStringLiteral("a %1 picture; sheets are read from PNG or BMP only: convert it to PNG "
                          "first (with ImageMagick, say: convert sheet.%2 sheet.png).")
        .arg(kind, suffix);
}

bool isPicture(QByteArrayView bytes)
{
    return isPng(bytes) || isBmp(bytes);
}

// PNG and BMP are read alike, whichever name they were asked for by.
ImportResult readPicture(QByteArrayView bytes, const ReadOptions &options)
{
    DecodedImage decoded;
    QString kind;
    if (isPng(bytes)) {
        decoded = decodePng(bytes, sheetSizeError, options.ink);
        kind = QStringLiteral("PNG");
    } else if (isBmp(bytes)) {
        decoded = decodeBmp(bytes, sheetSizeError, options.ink);
        kind = QStringLiteral("BMP");
    } else if (const QString other = unreadPictureKind(bytes); !other.isEmpty()) {
        return ImportResult::failure(convertToPngHint(other));
    } else {
        return ImportResult::failure(QStringLiteral("not a PNG or BMP picture."));
    }
    if (!decoded.error.isEmpty())
        return ImportResult::failure(decoded.error);
    ImportResult result = fontFromSheet(decoded.image, options.ink);
    result.description = QStringLiteral("%1 sheet %2 x %3, %4")
                             .arg(kind)
                             .arg(decoded.image.width)
                             .arg(decoded.image.height)
                             .arg(result.description);
    return result;
}

QByteArray writePng(const FontImage &font, const WriteOptions &options)
{
    return encodePng(sheetOf(font, options.scale));
}

QString cName(const WriteOptions &options)
{
    return cIdentifier(nameOr(options, fontBaseName(options.fontFileName)));
}

QByteArray writeCHeader(const FontImage &, const WriteOptions &options)
{
    return cHeader(cName(options), options.codes, options.layout, options.storage);
}

QByteArray writeCSource(const FontImage &font, const WriteOptions &options)
{
    return cSource(font, cName(options), options.firstFileName, options.codes, options.layout,
                   options.storage);
}

ImportResult readAsm(QByteArrayView bytes, const ReadOptions &options)
{
    // Whatever run of codes the table holds; the import reports the others as empty.
    const AsmRead read = parseAsmSource(bytes, std::nullopt, options.layout);
    if (!read.error.isEmpty())
        return ImportResult::failure(
            QStringLiteral("line %1: %2.").arg(read.errorLine).arg(read.error));
    ImportResult result;
    result.font = read.font;
    const QString directive = QString::fromLatin1(tableDirective(read.target, read.syntax));
    result.description
        = read.syntax == AsmSyntax::PicAs
              ? QStringLiteral("PIC assembler source for pic-as, %1 characters in %2 lines")
                    .arg(QString::number(read.codes.count()), directive)
              : QStringLiteral("PIC assembler source, %1 %2 lines")
                    .arg(QString::number(read.codes.count()), directive);
    result.byPosition = read.codes.count();
    if (!read.codes.isWhole())
        result.warnings.append(QStringLiteral("the table holds only %1; the other characters are "
                                              "left blank.")
                                   .arg(codeRangeText(read.codes)));
    return result;
}

QByteArray writeAsm(const FontImage &font, const WriteOptions &options)
{
    // As the editor's export: the header names the font file, extension and all.
    return asmSource(font, nameOr(options, options.fontFileName),
                     AsmTable {options.target, options.codes, options.syntax, options.layout});
}

ImportResult readText(QByteArrayView bytes, const ReadOptions &options)
{
    const FontTextParse parsed = parseFontText(bytes, options.layout);
    if (!parsed.error.isEmpty())
        return ImportResult::failure(
            QStringLiteral("line %1: %2.").arg(parsed.errorLine).arg(parsed.error));
    ImportResult result;
    result.font = parsed.font;
    result.description = QStringLiteral("the font's text form");
    result.byPosition = CharacterCount;
    return result;
}

QByteArray writeText(const FontImage &font, const WriteOptions &options)
{
    return fontText(font, options.codes, options.layout);
}

// Detection tries the rows in this order; raw, which anything is, comes only when named.
constexpr FontFormat Formats[] = {
    {"psf", "PSF", "", "psf psfu",
     "Linux console fonts, PSF 1 or 2, plain or gzip-compressed, glyphs up to 8x8 (smaller ones "
     "at the top left of the cell). Each code takes the glyph that the font's Unicode table gives "
     "the character the code is in the character set; a font without a table, or one read by "
     "position, gives its first 256 glyphs in order.",
     "PSF 1, 256 glyphs of 8x8, with a Unicode table giving each glyph its code's character in "
     "the character set, so that setfont and the console know which glyph is which.",
     isPsf, readPsf, writePsf, FormatOption::Charset | FormatOption::ByPosition,
     FormatOption::Charset, true},
    {"bdf", "BDF, PCF, Windows FON", "pcf fon fnt", "bdf pcf fon fnt",
     "BDF, PCF or Windows FON/FNT bitmap fonts up to 8x8, through FreeType: each code takes the "
     "glyph of the character it is in the character set, found through the font's Unicode map or "
     "its own character set, placed in the cell by the font's ascent.",
     "BDF 2.1 that says which character each glyph is in the character set: ISO8859-1 with each "
     "glyph at its code for latin1, ISO10646-1 with each glyph at its character for any other "
     "set; the family is the font's name, by default its file name; a range of codes writes only "
     "those characters.",
     looksLikeFreeTypeBitmapFont, readFreeType, writeBdf, FormatOption::Charset,
     FormatOption::Name | FormatOption::Charset | FormatOption::Codes, true},
    {"ttf", "TrueType, OpenType, Type 1", "truetype otf opentype ttc type1 pfb pfa",
     "ttf otf ttc pfb pfa",
     "scalable TrueType, OpenType or Type 1 fonts, drawn through FreeType in monochrome with the "
     "font's hinting at a height in pixels from its ascent to its descent (8 for a font that "
     "fills the cell), and set on one baseline for the whole font, where its letters and digits "
     "fit together. Each code takes the glyph of the character it is in the character set; the "
     "report names the characters clipped at the cell's edges and those the font lacks.",
     nullptr, looksLikeScalableFont, readScalable, nullptr,
     FormatOption::Charset | FormatOption::PixelSize, {}, true},
    {"png", "PNG", "image", "png",
     "sheets of 8x8 cells, 16x16 cells (128x128 pixels) or 32x8 (256x64), or a whole multiple "
     "of either; dark, opaque pixels are ink (or light ones, when told). BMP sheets are read "
     "alike.",
     "the 16x16 sheet, code 0 at the top left, black ink on white, 1 to 32 picture pixels per "
     "glyph pixel; it is read back to the same font.",
     isPicture, readPicture, writePng, FormatOption::Ink, FormatOption::Scale, true},
    {"bmp", "BMP", "", "bmp",
     "the same sheets as Windows bitmaps: 1, 4, 8, 24 or 32 bits a pixel, uncompressed or RLE.",
     nullptr, isBmp, readPicture, nullptr, FormatOption::Ink, {}, true},
    {"c", "C source", "", "h c", nullptr,
     "a pair of files: NAME.h declares extern const unsigned char NAME[256][8] (NAME[COUNT][8] "
     "for a range of codes, NAME[256][N] for columns at width N), NAME.c defines it; either is "
     "named, the other is written beside it. NAME is the font's name, by default its file name "
     "(\"font\" for standard input), made a valid C identifier. The bytes in any layout; the "
     "table in program memory on an AVR through PROGMEM or __flash.",
     nullptr, nullptr, writeCHeader, {},
     FormatOption::Name | FormatOption::Codes | FormatOption::Layout | FormatOption::Storage,
     false, "c", writeCSource},
    {"asm", "PIC assembler", "", "asm inc",
     "PIC assembler source as the editor exports it: Char_NNN db (or dt) lines in code order, "
     "or the MPLAB XC8 PIC Assembler's Char_NNN: labels with DB or retlw lines; codes it leaves "
     "out are blank.",
     "PIC assembler source, as the editor exports it, for a PIC family, a range of codes and an "
     "assembler (MPASM and gpasm, or the MPLAB XC8 PIC Assembler); the header names the font's "
     "name, by default its file name, and any layout but rows.",
     looksLikeAsmSource, readAsm, writeAsm, FormatOption::Layout,
     FormatOption::Name | FormatOption::Codes | FormatOption::Target | FormatOption::Syntax
         | FormatOption::Layout,
     true},
    {"text", "font text", "txt", "txt",
     "the text form of a font ('#' ink, '.' paper, each row's byte).",
     "the text form of a font, as the text command writes it.", looksLikeFontText, readText,
     writeText, FormatOption::Layout, FormatOption::Codes | FormatOption::Layout, true},
    {"raw", "raw", "", "bin rom",
     "glyphs in code order at an offset (default 0) of any file, such as a ROM dump, from a first "
     "code (default 0) for a count of glyphs (default all the data holds up to code 255), each in "
     "a layout (8 rows with bit 7 the leftmost pixel by default).",
     "the glyphs' bytes alone in code order, in a layout, for a range of codes: what a firmware "
     "image or a controller's memory holds; read back as raw with the same layout.",
     nullptr, readRaw, writeRaw,
     FormatOption::Offset | FormatOption::RawSpan | FormatOption::BitOrder | FormatOption::Layout,
     FormatOption::Codes | FormatOption::Layout, false},
};

bool listed(const char *list, QStringView word)
{
    const QStringList words = QString::fromLatin1(list).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return words.contains(word.toString(), Qt::CaseInsensitive);
}

QString joinedNames(const QStringList &names)
{
    if (names.size() < 2)
        return names.join(QString());
    return names.first(names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ")
           + names.last();
}

template<typename Predicate> QString namesWhere(Predicate predicate, const char *FontFormat::*name)
{
    QStringList names;
    for (const FontFormat &format : Formats) {
        if (predicate(format))
            names.append(QLatin1String(format.*name));
    }
    return joinedNames(names);
}

template<typename Predicate> QString namesWhere(Predicate predicate)
{
    return namesWhere(predicate, &FontFormat::name);
}

QString compressedMessage(QByteArrayView bytes)
{
    // FreeType undoes these itself, with no limit on what they expand to, so none of them may
    // reach it.
    if (isGzip(bytes))
        return QStringLiteral("compressed twice with gzip; decompress it first.");
    if (bytes.startsWith("\x1F\x9D"))
        return QStringLiteral("compressed with compress (LZW), which is not read; decompress it "
                              "with 'uncompress' or 'gzip -d' first.");
    if (bytes.startsWith("BZh"))
        return QStringLiteral("compressed with bzip2, which is not read; decompress it with "
                              "'bunzip2' first.");
    return {};
}
} // namespace

bool FontFormat::answersTo(QStringView candidate) const
{
    return candidate.compare(QLatin1String(name), Qt::CaseInsensitive) == 0
           || listed(aliases, candidate);
}

bool FontFormat::hasSuffix(QStringView suffix) const
{
    return listed(suffixes, suffix);
}

std::span<const FontFormat> fontFormats()
{
    return Formats;
}

const FontFormat *formatNamed(QStringView name)
{
    for (const FontFormat &format : Formats) {
        if (format.answersTo(name))
            return &format;
    }
    return nullptr;
}

const FontFormat *writerForFileName(const QString &fileName)
{
    const QString suffix = QFileInfo(FileNameOf(fileName)).suffix();
    for (const FontFormat &format : Formats) {
        if (format.writes() && format.hasSuffix(suffix))
            return &format;
    }
    return nullptr;
}

QString readerNames()
{
    return namesWhere([](const FontFormat &format) { return format.reads(); });
}

QString writerNames()
{
    return namesWhere([](const FontFormat &format) { return format.writes(); });
}

QString namesTaking(FormatOption option, bool writing)
{
    return namesWhere([option, writing](const FontFormat &format) {
        return writing ? format.writes() && format.writeOptions.testFlag(option)
                       : format.reads() && format.readOptions.testFlag(option);
    });
}

QStringList pairedFileNames(const FontFormat &format, const QString &path)
{
    if (!format.secondSuffix)
        return {};
    const QString suffix = QFileInfo(FileNameOf(path)).suffix();
    const QString first = QString::fromLatin1(format.suffixes).section(QLatin1Char(' '), 0, 0);
    const QString second = QString::fromLatin1(format.secondSuffix);
    const bool isFirst = suffix.compare(first, Qt::CaseInsensitive) == 0;
    if (!isFirst && suffix.compare(second, Qt::CaseInsensitive) != 0)
        return {};
    // The other file's extension in the case of the one given: "FONT.H" and "FONT.C".
    const bool upper = suffix == suffix.toUpper() && suffix != suffix.toLower();
    const QString other = upper ? (isFirst ? second : first).toUpper() : (isFirst ? second : first);
    const QString otherPath = path.chopped(suffix.size()) + other;
    return isFirst ? QStringList {path, otherPath} : QStringList {otherPath, path};
}

QString unreadPictureKind(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return QStringLiteral("JPEG");
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return QStringLiteral("GIF");
    if (bytes.startsWith(QByteArrayView("II*\0", 4))
        || bytes.startsWith(QByteArrayView("MM\0*", 4)))
        return QStringLiteral("TIFF");
    if (bytes.size() >= 12 && bytes.startsWith("RIFF") && bytes.sliced(8, 4) == "WEBP")
        return QStringLiteral("WebP");
    return {};
}

QString fontBaseName(const QString &fontFileName)
{
    return QFileInfo(FileNameOf(fontFileName)).completeBaseName();
}

ImportResult readFont(QByteArrayView bytes, const FontFormat *format, const ReadOptions &options)
{
    QByteArray inflated;
    const bool compressed = (!format || format->compressible) && isGzip(bytes);
    if (compressed) {
        Inflated result = gunzip(bytes, MaxSourceSize);
        if (!result.error.isEmpty())
            return ImportResult::failure(result.error);
        inflated = std::move(result.bytes);
        bytes = inflated;
    }
    if (!format || format->compressible) {
        if (const QString message = compressedMessage(bytes); !message.isEmpty())
            return ImportResult::failure(message);
    }
    if (!format) {
        for (const FontFormat &candidate : Formats) {
            if (candidate.recognise && candidate.reads() && candidate.recognise(bytes)) {
                format = &candidate;
                break;
            }
        }
        if (const QString picture = unreadPictureKind(bytes); !format && !picture.isEmpty())
            return ImportResult::failure(convertToPngHint(picture));
        if (!format) {
            ImportResult result
                = ImportResult::failure(QStringLiteral("not a %1 file.")
                                            .arg(namesWhere(
                                                [](const FontFormat &candidate) {
                                                    return candidate.recognise && candidate.reads();
                                                },
                                                &FontFormat::title)));
            result.unrecognised = true;
            return result;
        }
    }
    ImportResult result = format->read(bytes, options);
    result.format = format;
    if (compressed)
        result.description.prepend(QStringLiteral("gzip-compressed "));
    return result;
}
