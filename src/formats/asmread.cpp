#include "formats/asmread.h"
#include "formats/fonttext.h"
#include "formats/linereader.h"

#include <QList>

#include <algorithm>

#include <optional>

namespace {
constexpr char LabelPrefix[] = "Char_";
constexpr int LabelDigits = 3;

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

// Sets *glyph to the one a character's bytes in the layout stand for; the reason they stand for
// none, or empty.
QString glyphOfLine(const QByteArray &bytes, const GlyphLayout &layout, CharBitMap *glyph)
{
    *glyph = glyphFromBytes(bytes, layout);
    // A bit of no pixel (bit 5 of a row at width 5) is not what the layout writes.
    const QByteArray kept = glyphBytes(*glyph, layout);
    if (kept == bytes)
        return {};
    qsizetype at = 0;
    while (kept[at] == bytes[at])
        ++at;
    return QStringLiteral("byte %1 (%2) sets a bit that is no pixel in %3")
        .arg(QString::number(at + 1), hexByte(static_cast<std::uint8_t>(bytes[at])),
             layoutText(layout));
}

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
    if (const QString error = glyphOfLine(bytes, layout, &parsed.glyph); !error.isEmpty())
        return {{}, error};
    return {parsed, {}};
}

// pic-as's directives that an export writes before its first label.
bool isPicAsDirective(QByteArrayView text)
{
    LineCursor cursor(text);
    cursor.skipSpaces();
    return (cursor.take("global", Qt::CaseInsensitive) || cursor.take("psect", Qt::CaseInsensitive))
           && cursor.skipSpaces();
}

bool hasLabelColon(QByteArrayView text)
{
    LineCursor cursor(text);
    return cursor.take(LabelPrefix) && cursor.number(10, LabelDigits) >= 0 && cursor.take(":");
}

// A pic-as table's statements gathered into characters: a label starts one, and its DB or retlw
// statements give its bytes, as many as the layout has.
class PicAsTable final
{
public:
    explicit PicAsTable(const GlyphLayout &layout)
        : m_layout(layout)
    { }

    // Takes one line that is neither blank nor a comment; the reason it cannot, or empty.
    QString add(QByteArrayView text, int lineNumber)
    {
        if (text.contains('\f') || text.contains('\v'))
            return QStringLiteral("the line holds a form feed or vertical tab, which the "
                                  "assembler does not accept");
        if (m_lines.isEmpty() && isPicAsDirective(text))
            return {};
        LineCursor cursor(text);
        if (cursor.take(LabelPrefix)) {
            const qsizetype digitsStart = cursor.position();
            const int code = cursor.number(10, LabelDigits);
            if (code < 0 || code >= CharacterCount
                || cursor.position() - digitsStart != LabelDigits)
                return QStringLiteral("the label is not Char_000 to Char_255");
            if (!cursor.take(":"))
                return QStringLiteral("expected a colon after %1, as pic-as labels have")
                    .arg(charLabel(code));
            if (const QString error = unfinished(); !error.isEmpty())
                return error;
            m_lines.append(CharLine {code, {}, lineNumber, PicTarget::Pic18});
            m_bytes.clear();
        }
        cursor.skipSpaces();
        if (cursor.atEnd() || cursor.peek() == ';')
            return {};
        std::optional<PicTarget> target;
        for (const PicTarget candidate : {PicTarget::Pic18, PicTarget::Pic16}) {
            if (!target
                && cursor.take(tableDirective(candidate, AsmSyntax::PicAs).toLower(),
                               Qt::CaseInsensitive))
                target = candidate;
        }
        if (!target || !cursor.skipSpaces())
            return QStringLiteral("not a character line: expected a label Char_000: to "
                                  "Char_255:, DB or retlw");
        if (m_lines.isEmpty())
            return QStringLiteral("bytes before the first label (Char_000: to Char_255:)");
        CharLine &line = m_lines.last();
        if (m_bytes.isEmpty())
            line.target = *target;
        else if (line.target != *target)
            return QStringLiteral("%1 mixes DB and retlw; a table is all DB (pic18) or all retlw "
                                  "(pic16)")
                .arg(charLabel(line.code));
        // DB takes a list; retlw takes one byte.
        do {
            if (m_bytes.size() == m_layout.bytesPerGlyph())
                return QStringLiteral("%1 has more than %2 byte values")
                    .arg(charLabel(line.code))
                    .arg(m_layout.bytesPerGlyph());
            cursor.skipSpaces();
            const int value = cursor.take("0x", Qt::CaseInsensitive) ? cursor.number(16, 2) : -1;
            if (value < 0 || hexDigit(cursor.peek()) >= 0)
                return QStringLiteral("byte %1 of %2 is not written 0x00 to 0xFF")
                    .arg(m_bytes.size() + 1)
                    .arg(charLabel(line.code));
            if (!onlyPixels(m_bytes.size(), value))
                return QStringLiteral("byte %1 of %2 (%3) sets a bit that is no pixel in %4")
                    .arg(QString::number(m_bytes.size() + 1), charLabel(line.code), hexByte(value),
                         layoutText(m_layout));
            m_bytes += static_cast<char>(value);
            cursor.skipSpaces();
        } while (*target == PicTarget::Pic18 && cursor.take(","));
        if (!cursor.atEnd() && cursor.peek() != ';')
            return QStringLiteral("unexpected text after the byte values");
        if (m_bytes.size() == m_layout.bytesPerGlyph())
            line.glyph = glyphFromBytes(m_bytes, m_layout);
        return {};
    }

    // Why the last character is not whole, or empty.
    QString unfinished() const
    {
        if (m_lines.isEmpty() || m_bytes.size() == m_layout.bytesPerGlyph())
            return {};
        return QStringLiteral("%1 has %2 byte values, not %3")
            .arg(charLabel(m_lines.last().code))
            .arg(m_bytes.size())
            .arg(m_layout.bytesPerGlyph());
    }

    const QList<CharLine> &lines() const { return m_lines; }

private:
    // Whether a byte at its place in a character holds pixels of the layout only (not bit 5 of a
    // row at width 5). A byte stands for one row or column alone, so it is told on its own line.
    bool onlyPixels(qsizetype at, int value) const
    {
        QByteArray alone(m_layout.bytesPerGlyph(), '\0');
        alone[at] = static_cast<char>(value);
        return glyphBytes(glyphFromBytes(alone, m_layout), m_layout) == alone;
    }

    GlyphLayout m_layout;
    QList<CharLine> m_lines;
    QByteArray m_bytes; // of the last character, in the layout
};
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
    PicAsTable picAs(layout);
    int lastLine = 0;
    LineReader reader(source);
    while (reader.nextContent()) {
        if (lastLine == 0 && (isPicAsDirective(reader.line()) || hasLabelColon(reader.line())))
            result.syntax = AsmSyntax::PicAs;
        lastLine = reader.number();
        if (result.syntax == AsmSyntax::PicAs) {
            if (const QString error = picAs.add(reader.line(), reader.number()); !error.isEmpty())
                return fail(reader.number(), error);
            continue;
        }
        const LineParse parsed = parseCharLine(reader.line(), reader.number(), layout);
        if (!parsed.error.isEmpty())
            return fail(reader.number(), parsed.error);
        lines.append(parsed.parsed);
    }
    if (!reader.error().isEmpty())
        return fail(reader.number(), reader.error());
    if (result.syntax == AsmSyntax::PicAs) {
        if (const QString error = picAs.unfinished(); !error.isEmpty())
            return fail(lastLine, error);
        lines = picAs.lines();
    }
    if (lines.isEmpty())
        return fail(qMax(reader.number(), 1),
                    QStringLiteral("no character lines (Char_000 to Char_255)"));

    // One table is one form: db bytes are read with table reads, dt words are called.
    result.target = lines.first().target;
    for (const CharLine &line : lines) {
        if (line.target != result.target) {
            const auto directive = [&result](PicTarget target) {
                return QString::fromLatin1(tableDirective(target, result.syntax));
            };
            return fail(line.line, QStringLiteral("%1 uses \"%2\" but the lines before it use "
                                                  "\"%3\"; a table is all %4 (pic18) or all %5 "
                                                  "(pic16)")
                                       .arg(charLabel(line.code), directive(line.target),
                                            directive(result.target), directive(PicTarget::Pic18),
                                            directive(PicTarget::Pic16)));
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
    return reader.nextContent()
           && (reader.line().startsWith(LabelPrefix) || isPicAsDirective(reader.line()));
}
