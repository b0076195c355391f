#include "cli/cli.h"
#include "cli/fontinput.h"
#include "cli/formatoptions.h"
#include "cli/formats/inkimage.h"
#include "cli/formats/pngimage.h"

#include <QCommandLineParser>

#include <vector>

namespace {
constexpr CommandUsage Usage {
    "render",
    "Usage: glyphwright-cli render FONT.pf TEXT -o LINE.png [--scale N]\n"
    "\n"
    "Draws TEXT in the font as a PNG: each character its 8 x 8 cell, side by side with no gap\n"
    "or margin, black on white, --scale pixels (1 to 32) per glyph pixel. Characters are codes\n"
    "0 to 255 as Latin-1; a newline starts a new line. FONT.pf '-' reads the font from\n"
    "standard input.\n"
    "\n"
    "  -o FILE   the PNG to write, '-' for standard output\n"
    "  -h, --help\n"
    "\n"
    "Exit status: 0 written, 1 the font could not be read or the picture not written, 2 usage\n"
    "(including a character outside Latin-1).\n",
    2, 2, "LINE.png"};

constexpr char32_t LineBreak = U'\n';
constexpr char32_t LastLatin1 = 0xFF;
} // namespace

int runRender(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption output(QStringLiteral("o"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption scaleOptionDef(QStringLiteral("scale"), QString(),
                                            QStringLiteral("N"));
    parser.addOptions({output, scaleOptionDef});
    if (const std::optional<int> status = parseCommandLine(parser, arguments, Usage))
        return *status;
    const std::optional<int> scale = scaleOption(QStringLiteral("render"), parser, scaleOptionDef);
    if (!scale)
        return ExitUsage;

    const QString text = parser.positionalArguments().at(1);
    std::vector<std::vector<std::uint8_t>> lines(1);
    for (const char32_t c : text.toUcs4()) {
        if (c == LineBreak) {
            lines.emplace_back();
        } else if (c > LastLatin1) {
            printError(QStringLiteral("render: the text holds '%1' (U+%2), which is not in "
                                      "Latin-1; the font has codes 0 to 255 only.")
                           .arg(QString::fromUcs4(&c, 1))
                           .arg(QString::number(static_cast<uint>(c), 16)
                                    .toUpper()
                                    .rightJustified(4, QLatin1Char('0'))));
            return ExitUsage;
        } else {
            lines.back().push_back(static_cast<std::uint8_t>(c));
        }
    }
    size_t longest = 0;
    for (const auto &line : lines)
        longest = std::max(longest, line.size());
    if (longest == 0) {
        printError(QStringLiteral("render: the text is empty; there is nothing to draw."));
        return ExitUsage;
    }
    const qint64 cell = qint64(GlyphSize) * *scale;
    if (qint64(longest) * cell * qint64(lines.size()) * cell > MaxImagePixels) {
        printError(QStringLiteral("render: %1 lines of up to %2 characters at scale %3 would "
                                  "make a picture over %4 pixels.")
                       .arg(lines.size())
                       .arg(longest)
                       .arg(*scale)
                       .arg(MaxImagePixels));
        return ExitUsage;
    }

    const QString fontPath = parser.positionalArguments().at(0);
    const QString outPath = parser.value(output);
    if (outputReplacesInput(outPath, fontPath))
        return ExitFailure;
    const std::optional<FontInput> input = readFontInput(fontPath);
    if (!input)
        return ExitFailure;
    const QByteArray png = encodePng(textImage(input->font, lines, *scale));
    if (png.isEmpty()) {
        printError(QStringLiteral("%1: the picture could not be made.").arg(outputName(outPath)));
        return ExitFailure;
    }
    return writeOutput(outPath, png) ? ExitOk : ExitFailure;
}
