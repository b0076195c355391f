// text and from-text: the font as plain text that a person, and git diff, can read.
#include "cli/cli.h"
#include "cli/commandline.h"
#include "cli/fontinput.h"
#include "cli/formatoptions.h"
#include "cli/options.h"
#include "formats/fontformats.h"
#include "formats/fonttext.h"

namespace {
// Far more than any font's text (about 34,000 bytes with comments to spare).
constexpr qsizetype MaxTextBytes = 4 * 1024 * 1024;

constexpr OptionUse TextOptions[] = {
    {&Options::Output, "write to FILE; standard output when absent or '-'"},
    {&Options::Codes, "write only the characters FIRST to LAST (decimal or 0x hex, inclusive; "
                      "default 0-255), to review them; from-text reads only a whole font"},
    {&Options::Layout, "each row's byte in this order instead (the pixels stay as they are); in "
                       "columns layouts row N ends with column N's byte"},
    {&Options::Width, "the bytes hold only the leftmost N columns, 1 to 8 (default 8)"},
};

constexpr Argument FontArgument[] = {{"FONT.pf"}};
constexpr Argument FromTextArguments[] = {{"TEXT"}};

constexpr CommandSyntax Text {
    "text", "FONT.pf [-o OUT.txt] [--codes FIRST-LAST] [--layout ORDER] [--width N]",
    "Writes the font as plain text: 256 blocks in code order, each a heading such as \"Char: A / "
    "65 / 0x41\" and 8 rows of pixels ('#' ink, '.' paper) followed by the row's byte. "
    "'from-text' turns it back into the same 2,048 bytes. FONT.pf '-' reads the font from "
    "standard input.\n\n"
    "For git diff to show changed fonts as pixels, add to .gitattributes:\n\n"
    "  *.pf diff=glyphwright\n\n"
    "and run once in the repository:\n\n"
    "  git config diff.glyphwright.textconv \"glyphwright-cli text\"",
    TextOptions, FontArgument};

constexpr OptionUse FromTextOptions[] = {
    {&Options::Output,
     "the font file to write (replaced only once the whole font is written); '-' for standard "
     "output",
     "FONT.pf"},
    {&Options::Layout, "the layout text --layout wrote the bytes in"},
    {&Options::Width, "the width text --width wrote the bytes at"},
};

constexpr CommandSyntax FromText {
    "from-text", "TEXT -o FONT.pf [--layout ORDER] [--width N]",
    "Reads the text form that 'text' writes ('-' reads standard input) and writes the 2,048-byte "
    "font. Blank lines and lines starting with ';' are skipped; any other line must be the next "
    "heading or pixel row exactly, and each row's byte must match its pixels. A text of only some "
    "characters (text --codes) is refused: a font needs all 256. On any error nothing is "
    "written.",
    FromTextOptions, FromTextArguments};

std::optional<QByteArray> readText(const QString &path)
{
    return readWholeInput(path, MaxTextBytes);
}
} // namespace

int runText(const QStringList &arguments)
{
    CommandLine line(Text);
    if (const std::optional<int> status = line.parse(arguments))
        return *status;
    return writeFontAs(line, *formatNamed(u"text"));
}

int runFromText(const QStringList &arguments)
{
    CommandLine line(FromText);
    if (const std::optional<int> status = line.parse(arguments))
        return *status;
    const QString source = line.argument(0);
    const std::optional<GlyphLayout> layout = layoutGiven(line);
    if (!layout)
        return ExitUsage;
    return readThenWrite(source, outputGiven(line), readText,
                         [&](const QByteArray &text) -> std::optional<QByteArray> {
                             const FontTextParse parsed = parseFontText(text, *layout);
                             if (!parsed.error.isEmpty()) {
                                 printError(QStringLiteral("%1: line %2: %3.")
                                                .arg(inputName(source),
                                                     QString::number(parsed.errorLine),
                                                     parsed.error));
                                 return std::nullopt;
                             }
                             return fontFileBytes(parsed.font);
                         });
}
