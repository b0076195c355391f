#include "formats/pngimage.h"

#include <png.h>

#include <vector>

namespace {
constexpr unsigned char PngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr int BytesPerRgba = 4;
constexpr png_uint_32 MaxSide = 1u << 20;
} // namespace

bool isPng(QByteArrayView bytes)
{
    return bytes.size() >= qsizetype(sizeof PngSignature)
           && std::equal(PngSignature, PngSignature + sizeof PngSignature,
                         reinterpret_cast<const unsigned char *>(bytes.data()));
}

DecodedImage decodePng(QByteArrayView bytes, SizeCheck checkSize, InkRule rule)
{
    // libpng's simplified interface: no setjmp in this code, every colour type and depth
    // converted to 8-bit RGBA for us.
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), static_cast<size_t>(bytes.size())))
        return {{},
                QStringLiteral("not a readable PNG (%1).").arg(QString::fromLatin1(image.message))};
    const int width = static_cast<int>(image.width);
    const int height = static_cast<int>(image.height);
    const QString sizeError = image.width > MaxSide || image.height > MaxSide
                                  ? QStringLiteral("the image is too large.")
                                  : checkSize(width, height);
    if (!sizeError.isEmpty()) {
        png_image_free(&image);
        return {{}, sizeError};
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr))
        return {{},
                QStringLiteral("the PNG is damaged (%1).").arg(QString::fromLatin1(image.message))};
    InkImage ink(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const png_byte *p = rgba.data() + (static_cast<size_t>(y) * width + x) * BytesPerRgba;
            if (isInk(p[0], p[1], p[2], p[3], rule))
                ink.setInk(x, y);
        }
    return {ink, {}};
}

QByteArray encodePng(const InkImage &ink)
{
    constexpr png_byte Black = 0;
    constexpr png_byte White = 255;
    std::vector<png_byte> gray(ink.pixels.size());
    for (size_t i = 0; i < gray.size(); ++i)
        gray[i] = ink.pixels[i] ? Black : White;
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(ink.width);
    image.height = static_cast<png_uint_32>(ink.height);
    image.format = PNG_FORMAT_GRAY;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, gray.data(), 0, nullptr))
        return {};
    QByteArray out(static_cast<qsizetype>(size), Qt::Uninitialized);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, gray.data(), 0, nullptr))
        return {};
    out.truncate(static_cast<qsizetype>(size));
    return out;
}
