#include "formats/fonttext.h"
#include "formats/linereader.h"

#include <QList>

#include <array>
#include <optional>

namespace {
constexpr char Ink = '#';
constexpr char Paper = '.';
// "...##... 0x18": eight pixels, a space and the byte.
constexpr int RowLength = GlyphSize + 1 + 4;

QByteArray heading(int code)
{
    return charDescription(code).toLatin1();
}

// A row's byte in the layout, alone: rows layouts give each row a byte of its own pixels.
std::uint8_t rowByte(std::uint8_t pixels, const GlyphLayout &layout)
{
    return static_cast<std::uint8_t>(glyphBytes(CharBitMap {pixels}, layout).at(0));
}

// The byte that follows row `row`'s pixels: its own in rows layouts, column `row`'s in columns
// layouts, none below the last column.
std::optional<std::uint8_t> byteAfterRow(const CharBitMap &glyph, int row,
                                         const GlyphLayout &layout)
{
    if (layout.isColumns() && row >= layout.width)
        return std::nullopt;
    return static_cast<std::uint8_t>(glyphBytes(glyph, layout).at(row));
}

// What a row line holds: its pixels and the text after them, if any.
struct RowParse
{
    std::uint8_t pixels = 0;
    QByteArrayView written; // "0x18"; empty when the line is the pixels alone
    QString error;
};

RowParse parseRow(QByteArrayView line, bool byteWanted)
{
    const bool bare = line.size() == GlyphSize && !byteWanted;
    if (!bare && (line.size() != RowLength || line[GlyphSize] != ' '))
        return {0,
                {},
                byteWanted ? QStringLiteral("expected a row of 8 pixels ('#' or '.'), a space and "
                                            "its byte, such as \"...##... 0x18\"")
                           : QStringLiteral("expected a row of 8 pixels ('#' or '.') alone: "
                                            "the layout has no byte for it")};
    RowParse parsed;
    for (int column = 0; column < GlyphSize; ++column) {
        if (line[column] == Ink)
            parsed.pixels |= columnBit(column);
        else if (line[column] != Paper)
            return {0,
                    {},
                    QStringLiteral("a pixel is '#' (ink) or '.' (paper), not '%1'")
                        .arg(QString::fromLatin1(line.sliced(column, 1)))};
    }
    if (!bare)
        parsed.written = line.sliced(GlyphSize + 1);
    return parsed;
}

// Why a row's written byte is not the one its glyph gives, or an empty text.
QString byteMismatch(QByteArrayView written, std::uint8_t expected, int row,
                     const GlyphLayout &layout)
{
    if (written == hexByte(expected).toLatin1())
        return {};
    if (layout.isFileOrder())
        return QStringLiteral("the pixels are %1 but the row says \"%2\"")
            .arg(hexByte(expected), QString::fromLatin1(written));
    if (!layout.isColumns())
        return QStringLiteral("the pixels are %1 in %2 but the row says \"%3\"")
            .arg(hexByte(expected), layoutText(layout), QString::fromLatin1(written));
    return QStringLiteral("column %1 of the pixels is %2 in %3 but the row says \"%4\"")
        .arg(QString::number(row), hexByte(expected), layoutText(layout),
             QString::fromLatin1(written));
}
} // namespace

QByteArray pixelRow(std::uint8_t row)
{
    QByteArray pixels(GlyphSize, Paper);
    for (int column = 0; column < GlyphSize; ++column) {
        if (row & columnBit(column))
            pixels[column] = Ink;
    }
    return pixels;
}

QByteArray fontText(const FontImage &font, const CodeRange &codes, const GlyphLayout &layout)
{
    QByteArray text
        = codes.isWhole()
              ? QByteArray(
                  "; Glyphwright font: 256 characters of 8 rows; '#' is ink, '.' is paper.\n")
              : QStringLiteral("; Glyphwright font, %1 only: %2 of 8 rows; '#' is ink, '.' is "
                               "paper.\n")
                    .arg(codeRangeText(codes),
                         codes.count() == 1 ? QStringLiteral("1 character")
                                            : QStringLiteral("%1 characters").arg(codes.count()))
                    .toLatin1();
    if (layout.isFileOrder())
        text += "; Bit 7 is the leftmost pixel; each row ends with its byte.\n";
    else
        text += "; Layout: " + layoutText(layout).toLatin1() + ". "
                + layoutSentence(layout).toLatin1()
                + (!layout.isColumns() ? QByteArray(" Each row ends with its byte.\n")
                   : layout.width == 1 ? QByteArray(" The top row ends with the column's byte.\n")
                                       : " The top " + QByteArray::number(layout.width)
                                             + " rows end with the bytes of the columns, left "
                                               "first.\n");
    for (int code = codes.first; code <= codes.last; ++code) {
        text += '\n' + heading(code) + '\n';
        const CharBitMap glyph = glyphOf(font, code);
        for (int row = 0; row < GlyphSize; ++row) {
            text += pixelRow(glyph[row]);
            if (const std::optional<std::uint8_t> byte = byteAfterRow(glyph, row, layout))
                text += ' ' + hexByte(*byte).toLatin1();
            text += '\n';
        }
    }
    return text;
}

FontTextParse parseFontText(QByteArrayView text, const GlyphLayout &layout)
{
    FontTextParse result;
    int code = 0;
    int row = -1; // -1: the next line is a heading
    // A column's byte is known only once the glyph's 8 rows are read.
    std::array<QByteArrayView, GlyphSize> written;
    std::array<int, GlyphSize> rowLines {};
    const auto fail = [&result](int line, const QString &error) {
        result.errorLine = line;
        result.error = error;
        return result;
    };
    int statedLine = 0;
    if (const QString error = statedLayoutMismatch(text, layout, &statedLine); !error.isEmpty())
        return fail(statedLine, error);
    LineReader reader(text);
    while (reader.nextContent()) {
        const QByteArrayView line = reader.line();
        const int lineNumber = reader.number();
        if (code == CharacterCount)
            return fail(lineNumber, QStringLiteral("text after the last character (255)"));
        if (row < 0) {
            if (line != heading(code)) {
                if (code == 0) {
                    for (int other = 1; other < CharacterCount; ++other) {
                        if (line == heading(other))
                            return fail(lineNumber,
                                        QStringLiteral("the text starts at character %1: it holds "
                                                       "only some characters, and a font needs "
                                                       "all 256")
                                            .arg(other));
                    }
                }
                return fail(lineNumber, QStringLiteral("expected the heading \"%1\"")
                                            .arg(QString::fromLatin1(heading(code))));
            }
            row = 0;
            continue;
        }
        const auto rowError = [&](int at, const QString &error) {
            return fail(at, QStringLiteral("row %1 of character %2: %3")
                                .arg(QString::number(row), QString::number(code), error));
        };
        const RowParse parsed = parseRow(line, !layout.isColumns() || row < layout.width);
        if (!parsed.error.isEmpty())
            return rowError(lineNumber, parsed.error);
        if (!layout.isColumns()) {
            const QString error
                = byteMismatch(parsed.written, rowByte(parsed.pixels, layout), row, layout);
            if (!error.isEmpty())
                return rowError(lineNumber, error);
        }
        result.font[code * GlyphSize + row] = parsed.pixels;
        written[row] = parsed.written;
        rowLines[row] = lineNumber;
        if (++row < GlyphSize)
            continue;
        if (layout.isColumns()) {
            const CharBitMap glyph = glyphOf(result.font, code);
            for (row = 0; row < layout.width; ++row) {
                const QString error
                    = byteMismatch(written[row], *byteAfterRow(glyph, row, layout), row, layout);
                if (!error.isEmpty())
                    return rowError(rowLines[row], error);
            }
        }
        row = -1;
        ++code;
    }
    if (!reader.error().isEmpty())
        return fail(reader.number(), reader.error());
    if (code < CharacterCount) {
        const QString missing = row < 0 ? QStringLiteral("character %1 is missing").arg(code)
                                        : QStringLiteral("character %1 has only %2 of its 8 rows")
                                              .arg(QString::number(code), QString::number(row));
        return fail(reader.number() + 1, QStringLiteral("the text ends early: %1").arg(missing));
    }
    return result;
}

QString statedLayoutMismatch(QByteArrayView text, const GlyphLayout &layout, int *line)
{
    constexpr QByteArrayView Statement = "; Layout: ";
    LineReader reader(text);
    while (reader.next()) {
        const QByteArrayView trimmed = reader.line().trimmed();
        if (trimmed.isEmpty())
            continue;
        if (!trimmed.startsWith(';'))
            break;
        if (!trimmed.startsWith(Statement))
            continue;
        QByteArrayView named = trimmed.sliced(Statement.size());
        named = named.first(qMax<qsizetype>(named.indexOf('.'), 0));
        const std::optional<GlyphLayout> stated = layoutNamed(QString::fromLatin1(named));
        if (!stated || *stated == layout)
            return {};
        *line = reader.number();
        return QStringLiteral("the header says the bytes are in %1, not %2; read them in %1")
            .arg(layoutText(*stated), layoutText(layout));
    }
    return {};
}

bool looksLikeFontText(QByteArrayView text)
{
    LineReader reader(text);
    return reader.nextContent() && reader.line() == heading(0);
}
