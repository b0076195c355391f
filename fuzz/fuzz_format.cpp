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
    // A format of byte layouts is read in each kind of them: rows and columns, at a narrower
    // width, and with the other bit order.
    const bool laidOut = format && format->readOptions.testFlag(FormatOption::Layout);
    for (const GlyphLayout layout :
         {GlyphLayout {}, GlyphLayout {ByteOrder::Columns, 5}, GlyphLayout {ByteOrder::RowsLsb, 3},
          GlyphLayout {ByteOrder::ColumnsMsb, 8}}) {
        if (!layout.isFileOrder() && !laidOut)
            break;
        ReadOptions reading;
        reading.layout = layout;
        // Scalable fonts are drawn only at a size.
        reading.pixelSize = 8;
        const ImportResult read = readFont(bytes, format, reading);
        if (!read.ok() || !format || !format->writes())
            continue;
        WriteOptions writing;
        writing.layout = layout;
        const ImportResult back = readFont(format->write(read.font, writing), format, reading);
        if (!back.ok() || back.font != read.font)
            std::abort();
    }
    return 0;
}
