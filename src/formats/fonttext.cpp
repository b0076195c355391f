#include "formats/fonttext.h"
#include "formats/linereader.h"

#include <QList>

namespace {
constexpr char Ink = '#';
constexpr char Paper = '.';
// "...##... 0x18": eight pixels, a space and the byte.
constexpr int RowLength = GlyphSize + 1 + 4;

QByteArray heading(int code)
{
    return charDescription(code).toLatin1();
}

QByteArray rowText(std::uint8_t value)
{
    return pixelRow(value) + ' ' + hexByte(value).toLatin1();
}

// The byte a row line stands for, or an explanation of what is wrong with it.
struct RowParse
{
    std::uint8_t value = 0;
    QString error;
};

RowParse parseRow(QByteArrayView line)
{
    if (line.size() != RowLength || line[GlyphSize] != ' ')
        return {0, QStringLiteral("expected a row of 8 pixels ('#' or '.'), a space and its byte, "
                                  "such as \"...##... 0x18\"")};
    std::uint8_t pixels = 0;
    for (int column = 0; column < GlyphSize; ++column) {
        if (line[column] == Ink)
            pixels |= columnBit(column);
        else if (line[column] != Paper)
            return {0, QStringLiteral("a pixel is '#' (ink) or '.' (paper), not '%1'")
                           .arg(QString::fromLatin1(line.sliced(column, 1)))};
    }
    const QByteArrayView written = line.sliced(GlyphSize + 1);
    if (written != hexByte(pixels).toLatin1())
        return {0, QStringLiteral("the pixels are %1 but the row says \"%2\"")
                       .arg(hexByte(pixels), QString::fromLatin1(written))};
    return {pixels, {}};
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

QByteArray fontText(const FontImage &font, const CodeRange &codes)
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
    text += "; Bit 7 is the leftmost pixel; each row ends with its byte.\n";
    for (int code = codes.first; code <= codes.last; ++code) {
        text += '\n' + heading(code) + '\n';
        for (const std::uint8_t value : glyphOf(font, code))
            text += rowText(value) + '\n';
    }
    return text;
}

FontTextParse parseFontText(QByteArrayView text)
{
    FontTextParse result;
    int code = 0;
    int row = -1; // -1: the next line is a heading
    const auto fail = [&result](int line, const QString &error) {
        result.errorLine = line;
        result.error = error;
        return result;
    };
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
        const RowParse parsed = parseRow(line);
        if (!parsed.error.isEmpty()) {
            return fail(lineNumber,
                        QStringLiteral("row %1 of character %2: %3")
                            .arg(QString::number(row), QString::number(code), parsed.error));
        }
        result.font[code * GlyphSize + row] = parsed.value;
        if (++row == GlyphSize) {
            row = -1;
            ++code;
        }
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

bool looksLikeFontText(QByteArrayView text)
{
    LineReader reader(text);
    return reader.nextContent() && reader.line() == heading(0);
}
