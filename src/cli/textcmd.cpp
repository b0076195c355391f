// text and from-text: the font as plain text that a person, and git diff, can read.
#include "cli/cli.h"
#include "cli/fontinput.h"
#include "cli/fonttext.h"

#include <QCommandLineParser>

namespace {
// Far more than any font's text (about 34,000 bytes with comments to spare).
constexpr qsizetype MaxTextBytes = 4 * 1024 * 1024;

constexpr CommandUsage TextUsage {
    "text",
    "Usage: glyphwright-cli text FONT.pf [-o OUT.txt]\n"
    "\n"
    "Writes the font as plain text: 256 blocks in code order, each a heading such as\n"
    "\"Char: A / 65 / 0x41\" and 8 rows of pixels ('#' ink, '.' paper) followed by the\n"
    "row's byte. 'from-text' turns it back into the same 2,048 bytes. FONT.pf '-' reads\n"
    "the font from standard input.\n"
    "\n"
    "For git diff to show changed fonts as pixels, add to .gitattributes:\n"
    "  *.pf diff=glyphwright\n"
    "and run once in the repository:\n"
    "  git config diff.glyphwright.textconv \"glyphwright-cli text\"\n"
    "\n"
    "Options:\n"
    "  -o, --output FILE  write to FILE; standard output when absent or '-'\n"
    "  -h, --help         show this help\n",
    1, 1};

constexpr CommandUsage FromTextUsage {
    "from-text",
    "Usage: glyphwright-cli from-text TEXT -o FONT.pf\n"
    "\n"
    "Reads the text form that 'text' writes ('-' reads standard input) and writes the\n"
    "2,048-byte font. Blank lines and lines starting with ';' are skipped; any other line\n"
    "must be the next heading or pixel row exactly, and each row's byte must match its\n"
    "pixels. On any error nothing is written.\n"
    "\n"
    "Options:\n"
    "  -o, --output FILE  the font file to write (replaced only once the whole font is\n"
    "                     written); '-' for standard output\n"
    "  -h, --help         show this help\n",
    1, 1, "FONT.pf"};

QCommandLineOption outputOption()
{
    return {{QStringLiteral("o"), QStringLiteral("output")},
            QStringLiteral("Output file."),
            QStringLiteral("FILE")};
}
} // namespace

int runText(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption output = outputOption();
    parser.addOption(output);
    if (const std::optional<int> status = parseCommandLine(parser, arguments, TextUsage))
        return *status;
    const QString fontPath = parser.positionalArguments().constFirst();
    const QString target = parser.isSet(output) ? parser.value(output) : QStringLiteral("-");
    if (outputReplacesInput(target, fontPath))
        return ExitFailure;
    const std::optional<FontInput> input = readFontInput(fontPath);
    if (!input)
        return ExitFailure;
    return writeOutput(target, fontText(input->font)) ? ExitOk : ExitFailure;
}

int runFromText(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption output = outputOption();
    parser.addOption(output);
    if (const std::optional<int> status = parseCommandLine(parser, arguments, FromTextUsage))
        return *status;
    const QString source = parser.positionalArguments().constFirst();
    if (outputReplacesInput(parser.value(output), source))
        return ExitFailure;
    const std::optional<QByteArray> text = readWholeInput(source, MaxTextBytes);
    if (!text)
        return ExitFailure;
    const FontTextParse parsed = parseFontText(*text);
    if (!parsed.error.isEmpty()) {
        printError(QStringLiteral("%1: line %2: %3.")
                       .arg(inputName(source), QString::number(parsed.errorLine), parsed.error));
        return ExitFailure;
    }
    return writeOutput(parser.value(output), fontFileBytes(parsed.font)) ? ExitOk : ExitFailure;
}
