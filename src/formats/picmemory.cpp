#include "formats/picmemory.h"

#include "formats/linereader.h"

#include <QList>

namespace {
constexpr quint64 MemoryEnd = quint64(1) << 32; // Intel HEX addresses are 32 bits
// The literal of the retlw whose word tells a processor's core.
constexpr quint16 RetlwProbe = 0x5A;

// retlw k is 11 01xx kkkk kkkk on 14-bit cores, 1000 kkkk kkkk on 12-bit cores and
// 0000 1100 kkkk kkkk on PIC18.
quint16 retlwOpcode(PicCore core)
{
    switch (core) {
    case PicCore::Bits12:
        return 0x0800;
    case PicCore::Bits14:
        return 0x3400;
    case PicCore::Pic18:
        break;
    }
    return 0x0C00;
}
} // namespace

HexImage parseIntelHex(QByteArrayView hex)
{
    HexImage image;
    quint32 base = 0;
    LineReader reader(hex);
    while (reader.next()) {
        const QByteArrayView line = reader.line().trimmed();
        const int lineNumber = reader.number();
        if (line.isEmpty())
            continue;
        const QByteArray record = line.startsWith(':')
                                      ? QByteArray::fromHex(line.sliced(1).toByteArray())
                                      : QByteArray();
        const auto byteAt = [&record](int i) {
            return static_cast<quint8>(record[i]);
        };
        if (record.size() < 5 || record.size() != 5 + byteAt(0)
            || line.size() != 1 + 2 * record.size()) {
            image.error = QStringLiteral("line %1 is not an Intel HEX record").arg(lineNumber);
            return image;
        }
        quint8 sum = 0;
        for (const char byte : record)
            sum += static_cast<quint8>(byte);
        if (sum != 0) {
            image.error = QStringLiteral("line %1 has a wrong checksum").arg(lineNumber);
            return image;
        }
        const int count = byteAt(0);
        const int type = byteAt(3);
        if ((type == 0x02 || type == 0x04) && count != 2) {
            image.error = QStringLiteral("line %1 is not an Intel HEX record").arg(lineNumber);
            return image;
        }
        const quint32 offset = (quint32(byteAt(1)) << 8) | byteAt(2);
        switch (type) {
        case 0x00:
            // In 64 bits, so that data near the top of memory cannot wrap round to address 0.
            if (quint64(base) + offset + count > MemoryEnd) {
                image.error = QStringLiteral("line %1 holds data past the 32-bit address range")
                                  .arg(lineNumber);
                return image;
            }
            for (int i = 0; i < count; ++i)
                image.bytes.insert(base + offset + quint32(i), byteAt(4 + i));
            break;
        case 0x01:
            return image;
        case 0x02: // extended segment address: 16-byte paragraphs
            base = ((quint32(byteAt(4)) << 8) | byteAt(5)) << 4;
            break;
        case 0x04: // extended linear address: the upper 16 bits
            base = ((quint32(byteAt(4)) << 8) | byteAt(5)) << 16;
            break;
        default:
            break; // start addresses do not describe memory
        }
    }
    image.error
        = reader.error().isEmpty()
              ? QStringLiteral("the end record is missing")
              : QStringLiteral("line %1: %2").arg(QString::number(reader.number()), reader.error());
    return image;
}

std::optional<PicCore> picCoreOfRetlw(quint16 word)
{
    if ((word & 0xFF) != RetlwProbe)
        return std::nullopt;
    for (const PicCore core : {PicCore::Bits12, PicCore::Bits14, PicCore::Pic18}) {
        if ((word & 0xFF00) == retlwOpcode(core))
            return core;
    }
    return std::nullopt;
}

QString picCoreText(PicCore core)
{
    switch (core) {
    case PicCore::Bits12:
        return QStringLiteral("a 12-bit core");
    case PicCore::Bits14:
        return QStringLiteral("a 14-bit core");
    case PicCore::Pic18:
        break;
    }
    return QStringLiteral("a PIC18");
}

PicTarget targetOfCore(PicCore core)
{
    return core == PicCore::Pic18 ? PicTarget::Pic18 : PicTarget::Pic16;
}

std::optional<qint64> programMemorySize(QByteArrayView properties)
{
    // "Names          : pic16f877a, p16f877a, 16f877a" starts each processor's block; a name
    // gpasm does not know lists them all.
    std::optional<qint64> size;
    int processors = 0;
    LineReader reader(properties);
    while (reader.next()) {
        const QByteArrayView line = reader.line();
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QByteArrayView key = line.first(colon).trimmed();
        if (key == "Names")
            ++processors;
        if (key != "Program Size")
            continue;
        const QList<QByteArray> words
            = line.sliced(colon + 1).toByteArray().simplified().split(' ');
        bool ok = false;
        const qint64 value = words.constFirst().toLongLong(&ok);
        if (ok && words.size() == 2 && (words[1] == "words" || words[1] == "bytes"))
            size = value;
    }
    return processors == 1 ? size : std::nullopt;
}

AssembledFont assembledFont(const HexImage &hex, PicCore core, const CodeRange &codes,
                            const GlyphLayout &layout)
{
    AssembledFont result;
    const auto fail = [&result](const QString &error) {
        result.error = error;
        return result;
    };
    const int glyphBytes = layout.bytesPerGlyph();
    const int lineUnits
        = tableStride(AsmTable {targetOfCore(core), codes, AsmSyntax::Mpasm, layout});
    const int tableBytes = codes.count() * lineUnits;
    // A PIC18 byte is one hex byte; a word of the smaller cores is two, at twice its address.
    const int stride = core == PicCore::Pic18 ? 1 : 2;
    const QString unit = core == PicCore::Pic18 ? QStringLiteral("bytes") : QStringLiteral("words");
    for (auto it = hex.bytes.cbegin(); it != hex.bytes.cend(); ++it) {
        if (it.key() >= quint32(tableBytes * stride)) {
            return fail(QStringLiteral("memory past the table's %1 %2, at address 0x%3")
                            .arg(numberText(tableBytes), unit,
                                 QString::number(it.key() / quint32(stride), 16).toUpper()));
        }
    }
    if (hex.bytes.size() != tableBytes * stride) {
        return fail(QStringLiteral("%1 %2, not %3")
                        .arg(numberText(hex.bytes.size() / stride), unit, numberText(tableBytes)));
    }
    QByteArray table(tableBytes, '\0');
    for (int at = 0; at < tableBytes; ++at) {
        if (core == PicCore::Pic18) {
            table[at] = static_cast<char>(hex.bytes.value(quint32(at)));
            continue;
        }
        const quint16 word = quint16(hex.bytes.value(quint32(2 * at)))
                             | quint16(hex.bytes.value(quint32(2 * at + 1)) << 8);
        if ((word & 0xFF00) != retlwOpcode(core)) {
            return fail(
                QStringLiteral("the word at 0x%1 (%2, %3 %4) is 0x%5, not a retlw")
                    .arg(QString::number(at, 16).toUpper(), charLabel(codes.first + at / lineUnits),
                         layout.isColumns() ? QStringLiteral("column") : QStringLiteral("row"),
                         QString::number(at % lineUnits),
                         QString::number(word, 16).toUpper().rightJustified(4, u'0')));
        }
        table[at] = static_cast<char>(word & 0xFF);
    }
    // A PIC18 line of an odd number of bytes ends in the assembler's 0x00, which is no pixel.
    for (int i = 0; i < codes.count(); ++i)
        setGlyph(result.font, codes.first + i,
                 glyphFromBytes(QByteArrayView(table).sliced(i * lineUnits, glyphBytes), layout));
    return result;
}
