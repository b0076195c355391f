#include "formats/asmread.h"
#include "formats/fonttext.h"
#include "formats/importresult.h"
#include "formats/linereader.h"

#include <QList>

#include <algorithm>

#include <optional>

namespace {
constexpr char LabelPrefix[] = "Char_";
constexpr int LabelDigits = 3;
constexpr int ComparisonGap = 2; // spaces between the columns of a glyph comparison
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

bool isSpace(char c)
{
    return c == ' ' || c == '\t';
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Walks one line left to right.
class LineCursor final
{
public:
    explicit LineCursor(QByteArrayView line)
        : m_line(line)
    { }

    bool atEnd() const { return m_at >= m_line.size(); }
    char peek() const { return atEnd() ? '\0' : m_line[m_at]; }
    bool skipSpaces()
    {
        const qsizetype start = m_at;
        while (!atEnd() && isSpace(peek()))
            ++m_at;
        return m_at > start;
    }
    bool take(QByteArrayView text, Qt::CaseSensitivity cs = Qt::CaseSensitive)
    {
        const QByteArrayView here
            = m_line.sliced(m_at).first(qMin(text.size(), m_line.size() - m_at));
        const bool match
            = cs == Qt::CaseSensitive ? here == text : here.toByteArray().toLower() == text;
        if (match)
            m_at += text.size();
        return match;
    }
    qsizetype position() const { return m_at; }
    // Up to maxDigits digits of a base; -1 when there is none.
    int number(int base, int maxDigits)
    {
        int value = 0;
        int digits = 0;
        for (; digits < maxDigits && !atEnd(); ++digits) {
            const int digit = hexDigit(peek());
            if (digit < 0 || digit >= base)
                break;
            value = value * base + digit;
            ++m_at;
        }
        return digits == 0 ? -1 : value;
    }

private:
    QByteArrayView m_line;
    qsizetype m_at = 0;
};

struct CharLine
{
    int code = -1;
    CharBitMap glyph {};
    int line = 0;
    PicTarget target = PicTarget::Pic18;
};

struct LineParse
{
    CharLine parsed;
    QString error;
};

LineParse parseCharLine(QByteArrayView text, int lineNumber, const GlyphLayout &layout)
{
    const auto fail = [](const QString &why) {
        return LineParse {{}, QStringLiteral("not a character line: %1").arg(why)};
    };
    if (text.contains('\f') || text.contains('\v'))
        return {{},
                QStringLiteral("the line holds a form feed or vertical tab, which the "
                               "assembler does not accept")};
    LineCursor cursor(text);
    CharLine parsed;
    parsed.line = lineNumber;
    if (!cursor.take(LabelPrefix))
        return fail(QStringLiteral("expected a label Char_000 to Char_255 at the start"));
    const qsizetype digitsStart = cursor.position();
    const int code = cursor.number(10, LabelDigits);
    if (code < 0 || code >= CharacterCount || cursor.position() - digitsStart != LabelDigits
        || (!cursor.atEnd() && !isSpace(cursor.peek())))
        return fail(QStringLiteral("the label is not Char_000 to Char_255"));
    parsed.code = code;
    const bool spaced = cursor.skipSpaces();
    std::optional<PicTarget> target;
    for (const PicTarget candidate : {PicTarget::Pic18, PicTarget::Pic16}) {
        if (!target && spaced && cursor.take(tableDirective(candidate), Qt::CaseInsensitive))
            target = candidate;
    }
    if (!target || !cursor.skipSpaces())
        return fail(QStringLiteral("expected \"db\" or \"dt\" after the label"));
    parsed.target = *target;
    const int count = layout.bytesPerGlyph();
    QByteArray bytes;
    for (int at = 0; at < count; ++at) {
        if (at > 0) {
            cursor.skipSpaces();
            if (!cursor.take(","))
                return fail(QStringLiteral("expected %1 byte values, found %2").arg(count).arg(at));
            cursor.skipSpaces();
        }
        if (!cursor.take("0x", Qt::CaseInsensitive))
            return fail(QStringLiteral("byte %1 is not written 0x00 to 0xFF").arg(at + 1));
        const int value = cursor.number(16, 2);
        if (value < 0 || hexDigit(cursor.peek()) >= 0)
            return fail(QStringLiteral("byte %1 is not written 0x00 to 0xFF").arg(at + 1));
        bytes += static_cast<char>(value);
    }
    cursor.skipSpaces();
    if (cursor.peek() == ',')
        return fail(QStringLiteral("more than %1 byte values").arg(count));
    if (!cursor.atEnd() && cursor.peek() != ';')
        return fail(QStringLiteral("unexpected text after the %1 byte values").arg(count));
    parsed.glyph = glyphFromBytes(bytes, layout);
    // A bit of no pixel (bit 5 of a row at width 5) is not what the layout writes.
    if (const QByteArray kept = glyphBytes(parsed.glyph, layout); kept != bytes) {
        qsizetype at = 0;
        while (kept[at] == bytes[at])
            ++at;
        return {{},
                QStringLiteral("byte %1 (%2) sets a bit that is no pixel in %3")
                    .arg(QString::number(at + 1), hexByte(static_cast<std::uint8_t>(bytes[at])),
                         layoutText(layout))};
    }
    return {parsed, {}};
}

} // namespace

AsmRead parseAsmSource(QByteArrayView source, std::optional<CodeRange> expected,
                       const GlyphLayout &layout)
{
    AsmRead result;
    const auto fail = [&result](int line, const QString &error) {
        result.errorLine = line;
        result.error = error;
        return result;
    };
    int statedLine = 0;
    if (const QString error = statedLayoutMismatch(source, layout, &statedLine); !error.isEmpty())
        return fail(statedLine, error);
    QList<CharLine> lines;
    LineReader reader(source);
    while (reader.nextContent()) {
        const LineParse parsed = parseCharLine(reader.line(), reader.number(), layout);
        if (!parsed.error.isEmpty())
            return fail(reader.number(), parsed.error);
        lines.append(parsed.parsed);
    }
    if (!reader.error().isEmpty())
        return fail(reader.number(), reader.error());
    if (lines.isEmpty())
        return fail(qMax(reader.number(), 1),
                    QStringLiteral("no character lines (Char_000 to Char_255)"));

    // One table is one form: db bytes are read with table reads, dt words are called.
    result.target = lines.first().target;
    for (const CharLine &line : lines) {
        if (line.target != result.target) {
            return fail(line.line, QStringLiteral("%1 uses \"%2\" but the lines before it use "
                                                  "\"%3\"; a table is all db (pic18) or all dt "
                                                  "(pic16)")
                                       .arg(charLabel(line.code),
                                            QString::fromLatin1(tableDirective(line.target)),
                                            QString::fromLatin1(tableDirective(result.target))));
        }
    }
    const auto [lowest, highest]
        = std::minmax_element(lines.cbegin(), lines.cend(),
                              [](const CharLine &a, const CharLine &b) { return a.code < b.code; });
    result.codes = CodeRange {lowest->code, highest->code};
    const CodeRange wanted = expected.value_or(result.codes);
    if (result.codes.first != wanted.first || result.codes.last > wanted.last) {
        return fail(lines.first().line,
                    QStringLiteral("the table holds %1 (%2 to %3), not the %4 expected")
                        .arg(codeRangeText(result.codes), charLabel(result.codes.first),
                             charLabel(result.codes.last), codeRangeText(wanted)));
    }

    // Lines are assembled in the order they stand, so order is part of the table.
    int expectedCode = wanted.first;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const CharLine &line = lines[i];
        if (line.code == expectedCode) {
            setGlyph(result.font, line.code, line.glyph);
            result.lineOf[line.code] = line.line;
            ++expectedCode;
            continue;
        }
        if (line.code < expectedCode) {
            return fail(line.line, QStringLiteral("%1 is repeated (first on line %2)")
                                       .arg(charLabel(line.code))
                                       .arg(result.lineOf[line.code]));
        }
        for (qsizetype later = i + 1; later < lines.size(); ++later) {
            if (lines[later].code == expectedCode) {
                return fail(
                    line.line,
                    QStringLiteral("%1 is out of order: %2, which comes first, is on line %3")
                        .arg(charLabel(line.code), charLabel(expectedCode))
                        .arg(lines[later].line));
            }
        }
        return fail(line.line, QStringLiteral("%1 is missing before %2")
                                   .arg(charLabel(expectedCode), charLabel(line.code)));
    }
    if (expectedCode <= wanted.last) {
        return fail(reader.number() + 1,
                    QStringLiteral("%1 is missing: the source ends after %2")
                        .arg(charLabel(expectedCode), charLabel(expectedCode - 1)));
    }
    return result;
}

bool looksLikeAsmSource(QByteArrayView source)
{
    LineReader reader(source);
    return reader.nextContent() && reader.line().startsWith(LabelPrefix);
}

int firstDifferentCode(const FontImage &a, const FontImage &b, const CodeRange &codes)
{
    for (int code = codes.first; code <= codes.last; ++code) {
        if (glyphOf(a, code) != glyphOf(b, code))
            return code;
    }
    return -1;
}

int differentCodeCount(const FontImage &a, const FontImage &b, const CodeRange &codes)
{
    int count = 0;
    for (int code = codes.first; code <= codes.last; ++code)
        count += glyphOf(a, code) != glyphOf(b, code) ? 1 : 0;
    return count;
}

QString glyphComparison(const CharBitMap &left, const CharBitMap &right, const QString &leftTitle,
                        const QString &rightTitle)
{
    const QString gap(ComparisonGap, QLatin1Char(' '));
    // Each column is as wide as its title or the 8 pixels, whichever is wider.
    const int leftWidth = qMax<int>(GlyphSize, leftTitle.size());
    const int rightWidth = qMax<int>(GlyphSize, rightTitle.size());
    QString text
        = QStringLiteral("  %1%2%3\n").arg(leftTitle.leftJustified(leftWidth), gap, rightTitle);
    for (int row = 0; row < GlyphSize; ++row) {
        text += QStringLiteral("  %1%2%3%4%5%6%7%8\n")
                    .arg(QString::fromLatin1(pixelRow(left[row])).leftJustified(leftWidth), gap,
                         QString::fromLatin1(pixelRow(right[row])).leftJustified(rightWidth), gap,
                         hexByte(left[row]), gap, hexByte(right[row]),
                         left[row] != right[row] ? QStringLiteral("  <") : QString());
    }
    return text;
}

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
    const int lineUnits = tableStride(targetOfCore(core), layout);
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
