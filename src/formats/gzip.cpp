#include "formats/gzip.h"

#include "formats/importresult.h"

#include <zlib.h>

#include <climits>

namespace {
// zlib's window bits for a gzip header and trailer rather than a zlib one.
constexpr int GzipWindowBits = 15 + 16;
constexpr qsizetype Chunk = 64 * 1024;
} // namespace

bool isGzip(QByteArrayView bytes)
{
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0x1F
           && static_cast<unsigned char>(bytes[1]) == 0x8B;
}

Inflated gunzip(QByteArrayView bytes, qsizetype maxSize)
{
    if (bytes.size() > UINT_MAX)
        return {{}, QStringLiteral("the compressed data is too large.")};
    z_stream stream {};
    if (inflateInit2(&stream, GzipWindowBits) != Z_OK)
        return {{}, QStringLiteral("cannot start decompressing.")};
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    QByteArray out;
    int status = Z_OK;
    while (status == Z_OK) {
        if (out.size() >= maxSize + 1) {
            inflateEnd(&stream);
            return {{},
                    QStringLiteral("the data decompresses to more than %1 bytes.")
                        .arg(numberText(maxSize))};
        }
        const qsizetype before = out.size();
        out.resize(before + Chunk);
        stream.next_out = reinterpret_cast<Bytef *>(out.data() + before);
        stream.avail_out = static_cast<uInt>(Chunk);
        status = inflate(&stream, Z_NO_FLUSH);
        out.resize(before + Chunk - stream.avail_out);
        if (out.size() > maxSize) {
            inflateEnd(&stream);
            return {{},
                    QStringLiteral("the data decompresses to more than %1 bytes.")
                        .arg(numberText(maxSize))};
        }
        // No progress with input left or none at all means the stream ended early.
        if (status == Z_BUF_ERROR
            || (status == Z_OK && stream.avail_in == 0 && stream.avail_out != 0))
            status = Z_BUF_ERROR;
    }
    const QString reason = stream.msg ? QString::fromLatin1(stream.msg) : QString();
    inflateEnd(&stream);
    if (status == Z_STREAM_END)
        return {out, {}};
    if (status == Z_BUF_ERROR)
        return {{}, QStringLiteral("the gzip data is truncated.")};
    return {{},
            QStringLiteral("the gzip data is damaged (%1).")
                .arg(reason.isEmpty() ? QStringLiteral("zlib error %1").arg(status) : reason)};
}
