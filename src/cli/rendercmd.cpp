// render: a line of text drawn in the font, to see a caption before it is flashed.
#include "cli/cli.h"
#include "cli/commandline.h"
#include "cli/fontinput.h"
#include "cli/formatoptions.h"
#include "cli/options.h"
#include "core/filename.h"
#include "formats/inkimage.h"
#include "formats/pngimage.h"

#include <algorithm>
#include <vector>

namespace {
constexpr OptionUse RenderOptions[] = {
    {&Options::Output, "the PNG to write, '-' for standard output", "LINE.png"},
    {&Options::Scale, nullptr},
    {&Options::Charset, "the character each code is, which turns TEXT into codes: any single-byte "
                        "set iconv knows (cp437, cp850, koi8-r, iso8859-15; 'iconv -l' lists "
                        "them); default latin1 (ISO 8859-1)"},
};

constexpr Argument RenderArguments[] = {{"FONT.pf"}, {"TEXT", Argument::Kind::Text}};

constexpr CommandSyntax Render {
    "render", "FONT.pf TEXT -o LINE.png [--scale N] [--charset NAME]",
    "Draws TEXT in the font as a PNG: each character its 8 x 8 cell, side by side with no gap or "
    "margin, black on white. TEXT is UTF-8; each character becomes its code in the character set "
    "(--charset, default latin1), and a character the set does not have is a usage error. A "
    "newline starts a new line. FONT.pf '-' reads the font from standard input.",
    RenderOptions, RenderArguments};

// "2 lines of up to 40 characters"
QString textSize(size_t lines, size_t longest)
{
    return (lines == 1 ? QStringLiteral("1 line")
                       : numberText(qint64(lines)) + QStringLiteral(" lines"))
           + QStringLiteral(" of up to %1 characters").arg(numberText(qint64(longest)));
}

constexpr char32_t LineBreak = U'\n';

using TextRows = std::vector<std::vector<std::uint8_t>>;

// The codes of the text's lines in the character set; nothing, after a usage error, when the
// text is not UTF-8, holds a character the set has not, or is empty.
std::optional<TextRows> textCodes(const CommandLine &line, const QString &text,
                                  const CharacterSet &charset)
{
    if (const qsizetype at = firstKeptByte(text); at >= 0) {
        line.usageError(QStringLiteral("the text is not UTF-8 (it holds the byte %1)")
                            .arg(printableFileName(text.sliced(at, 1))));
        return std::nullopt;
    }
    TextRows rows(1);
    for (const char32_t c : text.toUcs4()) {
        if (c == LineBreak) {
            rows.emplace_back();
            continue;
        }
        const int code = charset.code(c);
        if (code < 0) {
            line.usageError(
                QStringLiteral("the text holds '%1' (%2), which character set %3 does not have")
                    .arg(printableFileName(QString::fromUcs4(&c, 1)), unicodeName(c),
                         charset.name()));
            return std::nullopt;
        }
        rows.back().push_back(static_cast<std::uint8_t>(code));
    }
    if (std::all_of(rows.begin(), rows.end(), [](const auto &row) { return row.empty(); })) {
        line.usageError(QStringLiteral("the text is empty; there is nothing to draw"));
        return std::nullopt;
    }
    return rows;
}

// Whether a PNG can hold the lines at the scale; false after a usage error.
bool fitsPicture(const CommandLine &line, const TextRows &rows, int scale)
{
    size_t longest = 0;
    for (const auto &row : rows)
        longest = std::max(longest, row.size());
    const qint64 cell = qint64(GlyphSize) * scale;
    const qint64 width = qint64(longest) * cell;
    const qint64 height = qint64(rows.size()) * cell;
    if (width > MaxImageSide || height > MaxImageSide) {
        line.usageError(
            QStringLiteral("%1 at scale %2 would make a picture of %3 x %4 pixels; PNG pictures "
                           "are at most %5 pixels wide and high")
                .arg(textSize(rows.size(), longest), QString::number(scale), numberText(width),
                     numberText(height), numberText(MaxImageSide)));
        return false;
    }
    if (width * height > MaxImagePixels) {
        line.usageError(QStringLiteral("%1 at scale %2 would make a picture over %3 pixels")
                            .arg(textSize(rows.size(), longest), QString::number(scale),
                                 numberText(MaxImagePixels)));
        return false;
    }
    return true;
}
} // namespace

int runRender(const QStringList &arguments)
{
    CommandLine line(Render);
    if (const std::optional<int> status = line.parse(arguments))
        return *status;
    const int scale = int(line.number(Options::Scale, 1));
    const std::optional<CharacterSet> charset = characterSetGiven(line);
    if (!charset)
        return ExitUsage;
    const std::optional<TextRows> rows = textCodes(line, line.argument(1), *charset);
    if (!rows || !fitsPicture(line, *rows, scale))
        return ExitUsage;

    const QString outPath = outputGiven(line);
    return readThenWrite(
        line.argument(0), outPath, readFontInput,
        [&](const FontInput &input) -> std::optional<QByteArray> {
            QByteArray png = encodePng(textImage(input.font, *rows, scale));
            if (png.isEmpty()) {
                printError(
                    QStringLiteral("%1: the picture could not be made.").arg(outputName(outPath)));
                return std::nullopt;
            }
            return png;
        });
}
