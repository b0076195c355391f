#include "cli/formats/detect.h"

#include "cli/formats/bdf.h"
#include "cli/formats/bmpimage.h"
#include "cli/formats/gzip.h"
#include "cli/formats/pngimage.h"
#include "cli/formats/psf.h"
#include "cli/formats/raw.h"

bool sourceFormatFromName(const QString &name, SourceFormat &format)
{
    const struct
    {
        const char *name;
        SourceFormat format;
    } names[] = {{"raw", SourceFormat::Raw},
                 {"psf", SourceFormat::Psf},
                 {"bdf", SourceFormat::Bdf},
                 {"image", SourceFormat::Image}};
    for (const auto &entry : names) {
        if (name == QLatin1String(entry.name)) {
            format = entry.format;
            return true;
        }
    }
    return false;
}

namespace {
ImportResult fontFromImage(QByteArrayView bytes)
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

SourceFormat detect(QByteArrayView bytes)
{
    if (isPsf(bytes))
        return SourceFormat::Psf;
    if (looksLikeFreeTypeBitmapFont(bytes))
        return SourceFormat::Bdf;
    if (isPng(bytes) || isBmp(bytes))
        return SourceFormat::Image;
    return SourceFormat::Detect;
}
} // namespace

ImportResult importFont(QByteArrayView bytes, SourceFormat format, qint64 offset)
{
    if (format == SourceFormat::Raw)
        return fontFromRaw(bytes, offset);
    QByteArray inflated;
    const bool compressed = isGzip(bytes);
    if (compressed) {
        Inflated result = gunzip(bytes, MaxSourceSize);
        if (!result.error.isEmpty())
            return ImportResult::failure(result.error);
        inflated = result.bytes;
        bytes = inflated;
    }
    if (format == SourceFormat::Detect) {
        format = detect(bytes);
        if (format == SourceFormat::Detect)
            return ImportResult::failure(
                QStringLiteral("not a PSF, BDF, PCF, Windows FON, PNG or BMP file; for a ROM dump "
                               "or other raw bytes, use --from raw."));
    }
    ImportResult result;
    switch (format) {
    case SourceFormat::Psf:
        result = fontFromPsf(bytes);
        break;
    case SourceFormat::Bdf:
        result = fontFromFreeType(bytes);
        break;
    case SourceFormat::Image:
        result = fontFromImage(bytes);
        break;
    case SourceFormat::Detect:
    case SourceFormat::Raw:
        break;
    }
    if (compressed)
        result.description.prepend(QStringLiteral("gzip-compressed "));
    return result;
}
