// A libFuzzer entry point for one of the readers, chosen when it is built (FUZZ_FORMAT: a row of
// the formats table, or "detect" to let the content choose, or "intelhex" for gpasm's output).
// Any bytes are read without a crash or a sanitizer report, and a font that a format reads and
// also writes comes back the same through that format's writer and reader.
#include "formats/fontformats.h"
#include "formats/picmemory.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const QLatin1StringView name(FUZZ_FORMAT);
    if (name == QLatin1StringView("intelhex")) {
        parseIntelHex(bytes);
        return 0;
    }
    const FontFormat *format
        = name == QLatin1StringView("detect") ? nullptr : formatNamed(QString(name));
    // Scalable fonts are drawn only at a size.
    ReadOptions options;
    options.pixelSize = 8;
    const ImportResult read = readFont(bytes, format, options);
    if (!read.ok() || !format || !format->writes())
        return 0;
    const ImportResult back = readFont(format->write(read.font, {}), format, {});
    if (!back.ok() || back.font != read.font)
        std::abort();
    return 0;
}
