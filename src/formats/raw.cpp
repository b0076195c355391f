#include "formats/raw.h"

ImportResult fontFromRaw(QByteArrayView bytes, qint64 offset)
{
    const qint64 available = bytes.size() > offset ? bytes.size() - offset : 0;
    if (available < FontFileSize)
        return ImportResult::failure(
            QStringLiteral("only %1 bytes from offset %2 (the file has %3); a font needs %4.")
                .arg(numberText(available), numberText(offset), numberText(bytes.size()),
                     numberText(FontFileSize)));
    ImportResult result;
    result.font = fontImageFromBytes(bytes.sliced(offset, FontFileSize));
    result.description = QStringLiteral("raw bytes %1 to %2")
                             .arg(numberText(offset), numberText(offset + FontFileSize - 1));
    return result;
}
