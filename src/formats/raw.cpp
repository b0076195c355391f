#include "formats/raw.h"

#include <algorithm>

ImportResult fontFromRaw(QByteArrayView bytes, const RawSpan &span)
{
    const qint64 available = bytes.size() > span.offset ? bytes.size() - span.offset : 0;
    const int glyphSize = span.layout.bytesPerGlyph();
    const qint64 held = available / glyphSize;
    const int room = CharacterCount - span.first;
    const auto dataText = [&] {
        return QStringLiteral("%1 bytes from offset %2 of the file's %3")
            .arg(numberText(available), numberText(span.offset), numberText(bytes.size()));
    };
    const auto glyphsText = [](qint64 count) {
        return numberText(count)
               + (count == 1 ? QStringLiteral(" glyph") : QStringLiteral(" glyphs"));
    };
    if (span.first < 0 || span.first >= CharacterCount
        || (span.count && (*span.count < 1 || span.first + *span.count > CharacterCount)))
        return ImportResult::failure(
            QStringLiteral("codes run from 0 to 255; %1 from code %2 %3 not fit.")
                .arg(glyphsText(span.count.value_or(0)))
                .arg(span.first)
                .arg(span.count == 1 ? QStringLiteral("does") : QStringLiteral("do")));
    if (span.count && *span.count > held)
        return ImportResult::failure(
            QStringLiteral("--count %1 asks for %2; the data holds %3 (%4).")
                .arg(numberText(*span.count), glyphsText(*span.count), numberText(held),
                     dataText()));
    if (held == 0)
        return ImportResult::failure(QStringLiteral("the data holds no glyph of %1 byte%2 (%3).")
                                         .arg(QString::number(glyphSize),
                                              glyphSize == 1 ? QString() : QStringLiteral("s"),
                                              dataText()));
    const int count = span.count ? *span.count : static_cast<int>(std::min<qint64>(held, room));

    ImportResult result;
    int stray = 0; // glyphs with bits beyond the width, as HD44780 dumps have in bits 5 to 7
    for (int i = 0; i < count; ++i) {
        const QByteArrayView glyphBytesRead = bytes.sliced(span.offset + i * glyphSize, glyphSize);
        const CharBitMap glyph = glyphFromBytes(glyphBytesRead, span.layout);
        if (glyphBytes(glyph, span.layout) != glyphBytesRead)
            ++stray;
        setGlyph(result.font, span.first + i, glyph);
    }
    result.byPosition = count;
    for (int code = 0; code < CharacterCount; ++code) {
        if (code < span.first || code >= span.first + count)
            result.uncovered.append(code);
    }
    const qint64 end = span.offset + qint64(count) * glyphSize - 1;
    result.description
        = QStringLiteral("raw bytes %1 to %2, codes %3 to %4%5")
              .arg(numberText(span.offset), numberText(end))
              .arg(span.first)
              .arg(span.first + count - 1)
              .arg(span.layout.isFileOrder() ? QString()
                                             : QStringLiteral(" in ") + layoutText(span.layout));
    if (stray > 0)
        result.warnings.append(QStringLiteral("%1 glyph%2 set bits that are no pixel in %3; "
                                              "they are left out.")
                                   .arg(QString::number(stray),
                                        stray == 1 ? QStringLiteral("") : QStringLiteral("s"),
                                        layoutText(span.layout)));
    // A dump cut short mid-glyph: say what was left out rather than drop it silently.
    if (!span.count && count < room && available % glyphSize != 0)
        result.warnings.append(QStringLiteral("the data ends %1 bytes into a glyph (%2); those "
                                              "bytes are left out.")
                                   .arg(available % glyphSize)
                                   .arg(dataText()));
    return result;
}
