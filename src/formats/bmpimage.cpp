#include "formats/bmpimage.h"

#include <bit>
#include <cstdint>
#include <vector>

namespace {
constexpr qsizetype FileHeaderSize = 14;
constexpr quint32 InfoHeaderSize = 40;
constexpr quint32 Uncompressed = 0; // BI_RGB
constexpr quint32 Rle8 = 1; // BI_RLE8
constexpr quint32 Rle4 = 2; // BI_RLE4
constexpr quint32 BitFields = 3; // BI_BITFIELDS
constexpr int MaxSide = 1 << 16;

class Reader
{
public:
    explicit Reader(QByteArrayView bytes)
        : m_bytes(bytes)
    { }
    bool has(qint64 at, qint64 size) const
    {
        return at >= 0 && size >= 0 && at + size <= m_bytes.size();
    }
    std::uint8_t u8(qint64 at) const { return static_cast<std::uint8_t>(m_bytes[at]); }
    quint32 u32(qint64 at) const
    {
        return quint32(u8(at)) | quint32(u8(at + 1)) << 8 | quint32(u8(at + 2)) << 16
               | quint32(u8(at + 3)) << 24;
    }
    quint16 u16(qint64 at) const { return quint16(u8(at) | u8(at + 1) << 8); }

private:
    QByteArrayView m_bytes;
};

// One component under a mask, scaled to 0..255; a missing mask reads as full.
int component(quint32 pixel, quint32 mask)
{
    if (mask == 0)
        return 255;
    const int shift = std::countr_zero(mask);
    // In 64 bits: a mask of more than 24 bits times 255 overflows 32.
    const quint64 maximum = mask >> shift;
    return static_cast<int>(quint64((pixel & mask) >> shift) * 255 / maximum);
}

DecodedImage failure(const QString &reason)
{
    return {{}, reason};
}

QString compressionName(quint32 compression)
{
    switch (compression) {
    case Rle8:
        return QStringLiteral("RLE8");
    case Rle4:
        return QStringLiteral("RLE4");
    case BitFields:
        return QStringLiteral("bit fields");
    case 4:
        return QStringLiteral("JPEG");
    case 5:
        return QStringLiteral("PNG");
    default:
        return QStringLiteral("method %1").arg(compression);
    }
}

// Run-length encoded palette indices (RLE8, or RLE4 with two indices a byte) as rows top to
// bottom; pixels the runs skip keep index 0. An error text when the runs are damaged: a run or a
// move that leaves the picture is, so that the work is bounded by the picture's size whatever
// counts the file gives.
QString decodeRle(const Reader &in, qint64 at, int width, int height, int bits,
                  std::vector<std::uint8_t> &indices)
{
    indices.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    int x = 0;
    int y = 0; // rows counted from the bottom, as the runs go
    const auto put = [&](int index) {
        indices[static_cast<size_t>(height - 1 - y) * width + x] = static_cast<std::uint8_t>(index);
        ++x;
    };
    const auto nibbleOrByte = [bits](std::uint8_t value, int i) {
        return bits == 8 ? value : (i % 2 == 0 ? value >> 4 : value & 0x0F);
    };
    const auto truncated = [] {
        return QStringLiteral("the BMP's compressed pixels are truncated.");
    };
    const auto damaged = [](qint64 offset, const QString &what) {
        return QStringLiteral("the BMP's compressed pixels are damaged at byte %1: %2.")
            .arg(numberText(offset), what);
    };
    const auto pastRow = [&](qint64 offset, int pixels) {
        return damaged(offset, QStringLiteral("%1 pixels from column %2 pass the end of a row of "
                                              "%3")
                                   .arg(pixels)
                                   .arg(x)
                                   .arg(width));
    };
    while (y < height) {
        if (!in.has(at, 2))
            return truncated();
        const qint64 escape = at;
        const int count = in.u8(at);
        const std::uint8_t value = in.u8(at + 1);
        at += 2;
        if (count > 0) {
            if (count > width - x)
                return pastRow(escape, count);
            for (int i = 0; i < count; ++i)
                put(nibbleOrByte(value, i));
        } else if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of picture
            break;
        } else if (value == 2) { // move right and up
            if (!in.has(at, 2))
                return truncated();
            const int right = in.u8(at);
            const int up = in.u8(at + 1);
            if (right > width - x || up >= height - y)
                return damaged(escape, QStringLiteral("a move of %1 right and %2 up leaves the "
                                                      "picture")
                                           .arg(right)
                                           .arg(up));
            x += right;
            y += up;
            at += 2;
        } else { // that many indices as they are, padded to a whole 16-bit word
            const int size = bits == 8 ? value : (value + 1) / 2;
            if (!in.has(at, size))
                return truncated();
            if (value > width - x)
                return pastRow(escape, value);
            for (int i = 0; i < value; ++i)
                put(nibbleOrByte(in.u8(at + (bits == 8 ? i : i / 2)), i));
            at += size + size % 2;
        }
    }
    return {};
}
} // namespace

bool isBmp(QByteArrayView bytes)
{
    return bytes.startsWith("BM");
}

DecodedImage decodeBmp(QByteArrayView bytes, SizeCheck checkSize, InkRule rule)
{
    const Reader in(bytes);
    if (!isBmp(bytes) || !in.has(0, FileHeaderSize + InfoHeaderSize))
        return failure(QStringLiteral("not a BMP picture, or its header is truncated."));
    const quint32 pixelOffset = in.u32(10);
    const quint32 headerSize = in.u32(14);
    const auto width = static_cast<qint32>(in.u32(18));
    const auto signedHeight = static_cast<qint32>(in.u32(22));
    const int bits = in.u16(28);
    const quint32 compression = in.u32(30);
    const quint32 coloursUsed = in.u32(46);
    if (headerSize < InfoHeaderSize || !in.has(FileHeaderSize, headerSize))
        return failure(QStringLiteral("the BMP header is truncated or of an unknown kind."));
    if (width <= 0 || signedHeight == 0 || width > MaxSide || signedHeight > MaxSide
        || signedHeight < -MaxSide)
        return failure(QStringLiteral("the BMP gives an impossible size."));
    const int height = signedHeight < 0 ? -signedHeight : signedHeight;
    const bool topDown = signedHeight < 0;
    if (const QString sizeError = checkSize(width, height); !sizeError.isEmpty())
        return failure(sizeError);

    quint32 masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0}; // red, green, blue, alpha
    const bool direct = bits == 24 || bits == 32;
    const bool rle = (compression == Rle8 && bits == 8) || (compression == Rle4 && bits == 4);
    if (!(bits == 1 || bits == 4 || bits == 8 || direct))
        return failure(QStringLiteral("a %1-bit BMP; only 1, 4, 8, 24 and 32-bit pictures are "
                                      "read.")
                           .arg(bits));
    if (rle && topDown)
        return failure(QStringLiteral("a top-down BMP with %1 compression, which the format does "
                                      "not allow; the file is damaged.")
                           .arg(compressionName(compression)));
    if (compression == BitFields && bits == 32) {
        // The masks follow a 40-byte header, or sit inside a longer one (with alpha from V3 on).
        if (!in.has(FileHeaderSize + InfoHeaderSize, 12))
            return failure(QStringLiteral("the BMP's colour masks are truncated."));
        for (int i = 0; i < 3; ++i)
            masks[i] = in.u32(FileHeaderSize + InfoHeaderSize + 4 * i);
        if (headerSize >= 56)
            masks[3] = in.u32(FileHeaderSize + InfoHeaderSize + 12);
    } else if (compression != Uncompressed && !rle) {
        return failure(QStringLiteral("a %1-bit BMP compressed with %2; only uncompressed "
                                      "pictures, RLE8 (8-bit), RLE4 (4-bit) and 32-bit bit "
                                      "fields are read.")
                           .arg(bits)
                           .arg(compressionName(compression)));
    }
    const qint64 paletteAt = FileHeaderSize + headerSize;
    const qint64 paletteSize = direct ? 0 : (coloursUsed ? coloursUsed : 1u << bits);
    if (!direct && (paletteSize > (1 << bits) || !in.has(paletteAt, paletteSize * 4)))
        return failure(QStringLiteral("the BMP's palette is truncated."));
    const qint64 stride = (qint64(width) * bits + 31) / 32 * 4;
    std::vector<std::uint8_t> indices;
    if (rle) {
        if (const QString error = decodeRle(in, pixelOffset, width, height, bits, indices);
            !error.isEmpty())
            return failure(error);
    } else if (!in.has(pixelOffset, stride * height))
        return failure(QStringLiteral("the BMP's pixels are truncated: %1 x %2 at %3 bits need %4 "
                                      "bytes.")
                           .arg(width)
                           .arg(height)
                           .arg(bits)
                           .arg(numberText(stride * height)));

    InkImage ink(width, height);
    for (int y = 0; y < height; ++y) {
        const qint64 row = pixelOffset + stride * (topDown ? y : height - 1 - y);
        for (int x = 0; x < width; ++x) {
            int r = 0, g = 0, b = 0, a = 255;
            if (direct) {
                const qint64 at = row + qint64(x) * (bits / 8);
                if (bits == 24) {
                    b = in.u8(at);
                    g = in.u8(at + 1);
                    r = in.u8(at + 2);
                } else {
                    const quint32 pixel = in.u32(at);
                    r = component(pixel, masks[0]);
                    g = component(pixel, masks[1]);
                    b = component(pixel, masks[2]);
                    a = component(pixel, masks[3]);
                }
            } else {
                const qint64 bit = qint64(x) * bits;
                const int shift = 8 - bits - static_cast<int>(bit % 8);
                const int index = rle ? indices[static_cast<size_t>(y) * width + x]
                                      : (in.u8(row + bit / 8) >> shift) & ((1 << bits) - 1);
                if (index >= paletteSize)
                    return failure(QStringLiteral("the BMP uses colour %1 of a palette of %2.")
                                       .arg(index)
                                       .arg(paletteSize));
                // Palette entries are blue, green, red, unused.
                const qint64 entry = paletteAt + 4 * index;
                b = in.u8(entry);
                g = in.u8(entry + 1);
                r = in.u8(entry + 2);
            }
            if (isInk(r, g, b, a, rule))
                ink.setInk(x, y);
        }
    }
    return {ink, {}};
}
