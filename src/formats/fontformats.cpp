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

#include <QFileInfo>
#include <QStringList>

namespace {
QString nameOr(const WriteOptions &options, const QString &fallback)
{
    return options.name ? *options.name : fallback;
}

ImportResult readRaw(QByteArrayView bytes, const ReadOptions &options)
{
    return fontFromRaw(bytes, options.offset);
}

ImportResult readPsf(QByteArrayView bytes, const ReadOptions &)
{
    return fontFromPsf(bytes);
}

QByteArray writePsf(const FontImage &font, const WriteOptions &)
{
    return psf1Bytes(font);
}

ImportResult readFreeType(QByteArrayView bytes, const ReadOptions &)
{
    return fontFromFreeType(bytes);
}

QByteArray writeBdf(const FontImage &font, const WriteOptions &options)
{
    return bdfBytes(font, nameOr(options, fontBaseName(options.fontFileName)), options.codes);
}

bool isPicture(QByteArrayView bytes)
{
    return isPng(bytes) || isBmp(bytes);
}

// PNG and BMP are read alike, whichever name they were asked for by.
ImportResult readPicture(QByteArrayView bytes, const ReadOptions &)
{
    DecodedImage decoded;
    QString kind;
    if (isPng(bytes)) {
        decoded = decodePng(bytes, sheetSizeError);
        kind = QStringLiteral("PNG");
    } else if (isBmp(bytes)) {
        decoded = decodeBmp(bytes, sheetSizeError);
        kind = QStringLiteral("BMP");
    } else {
        return ImportResult::failure(QStringLiteral("not a PNG or BMP picture."));
    }
    if (!decoded.error.isEmpty())
        return ImportResult::failure(decoded.error);
    ImportResult result = fontFromSheet(decoded.image);
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

QByteArray writeC(const FontImage &font, const WriteOptions &options)
{
    return cHeader(font, cIdentifier(nameOr(options, fontBaseName(options.fontFileName))),
                   options.codes);
}

ImportResult readAsm(QByteArrayView bytes, const ReadOptions &)
{
    // Whatever run of codes the table holds; the import reports the others as empty.
    const AsmRead read = parseAsmSource(bytes, std::nullopt);
    if (!read.error.isEmpty())
        return ImportResult::failure(
            QStringLiteral("line %1: %2.").arg(read.errorLine).arg(read.error));
    ImportResult result;
    result.font = read.font;
    result.description = QStringLiteral("PIC assembler source, %1 %2 lines")
                             .arg(QString::number(read.codes.count()),
                                  QString::fromLatin1(tableDirective(read.target)));
    if (!read.codes.isWhole())
        result.warnings.append(QStringLiteral("the table holds only %1; the other characters are "
                                              "left blank.")
                                   .arg(codeRangeText(read.codes)));
    return result;
}

QByteArray writeAsm(const FontImage &font, const WriteOptions &options)
{
    // As the editor's export: the header names the font file, extension and all.
    return asmSource(font, nameOr(options, options.fontFileName), options.target, options.codes);
}

ImportResult readText(QByteArrayView bytes, const ReadOptions &)
{
    const FontTextParse parsed = parseFontText(bytes);
    if (!parsed.error.isEmpty())
        return ImportResult::failure(
            QStringLiteral("line %1: %2.").arg(parsed.errorLine).arg(parsed.error));
    ImportResult result;
    result.font = parsed.font;
    result.description = QStringLiteral("the font's text form");
    return result;
}

QByteArray writeText(const FontImage &font, const WriteOptions &options)
{
    return fontText(font, options.codes);
}

// Detection tries the rows in this order; raw, which anything is, comes only when named.
constexpr FontFormat Formats[] = {
    {"psf",
     "",
     "psf psfu",
     "Linux console fonts, PSF 1 or 2, plain or gzip-compressed: 8x8 glyphs, the first 256 by "
     "position.",
     "PSF 1, 256 glyphs of 8x8, which the Linux console's setfont loads.",
     isPsf,
     readPsf,
     writePsf,
     {},
     {},
     true},
    {"bdf",
     "pcf fon fnt",
     "bdf pcf fon fnt",
     "BDF, PCF or Windows FON/FNT bitmap fonts up to 8x8, through FreeType: codes 0 to 255, "
     "placed in the cell by the font's ascent.",
     "BDF 2.1, ISO 8859-1 codes 0 to 255 (or --codes), family --name or the font's file name.",
     looksLikeFreeTypeBitmapFont,
     readFreeType,
     writeBdf,
     {},
     FormatOption::Name | FormatOption::Codes,
     true},
    {"png",
     "image",
     "png",
     "sheets of 8x8 cells, 16x16 cells (128x128 pixels) or 32x8 (256x64), or a whole multiple "
     "of either; dark, opaque pixels are ink. BMP sheets are read alike.",
     "the 16x16 sheet, code 0 at the top left, black ink on white, --scale pixels (1 to 32) per "
     "glyph pixel; import reads it back to the same font.",
     isPicture,
     readPicture,
     writePng,
     {},
     FormatOption::Scale,
     true},
    {"bmp",
     "",
     "bmp",
     "the same sheets as Windows bitmaps: 1, 4, 8, 24 or 32 bits a pixel.",
     nullptr,
     isBmp,
     readPicture,
     nullptr,
     {},
     {},
     true},
    {"c",
     "",
     "c h",
     nullptr,
     "a C header with const unsigned char NAME[256][8] (NAME[COUNT][8] with --codes); NAME from "
     "--name or the font's file name (\"font\" for standard input), made a valid C identifier.",
     nullptr,
     nullptr,
     writeC,
     {},
     FormatOption::Name | FormatOption::Codes,
     false},
    {"asm",
     "",
     "asm inc",
     "PIC assembler source as export writes it: Char_NNN db (or dt) lines in code order; codes "
     "it leaves out are blank.",
     "PIC assembler source, as export writes it (--target, --codes); the header names --name or "
     "the font's file name.",
     looksLikeAsmSource,
     readAsm,
     writeAsm,
     {},
     FormatOption::Name | FormatOption::Codes | FormatOption::Target,
     true},
    {"text",
     "txt",
     "txt",
     "the text form that the text command writes ('#' ink, '.' paper, each row's byte).",
     "the text form, as the text command writes it.",
     looksLikeFontText,
     readText,
     writeText,
     {},
     FormatOption::Codes,
     true},
    {"raw",
     "",
     "bin rom",
     "2,048 bytes at --offset (default 0, decimal or 0x hex) of any file: a ROM dump.",
     nullptr,
     nullptr,
     readRaw,
     nullptr,
     FormatOption::Offset,
     {},
     false},
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

template<typename Predicate> QString namesWhere(Predicate predicate)
{
    QStringList names;
    for (const FontFormat &format : Formats) {
        if (predicate(format))
            names.append(QLatin1String(format.name));
    }
    return joinedNames(names);
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
        if (!format)
            return ImportResult::failure(
                QStringLiteral("not a PSF, BDF, PCF, Windows FON, PNG or BMP file; for a ROM dump "
                               "or other raw bytes, use --from raw."));
    }
    ImportResult result = format->read(bytes, options);
    if (compressed)
        result.description.prepend(QStringLiteral("gzip-compressed "));
    return result;
}
