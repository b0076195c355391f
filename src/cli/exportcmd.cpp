// export: the font as PIC assembler source, the very bytes the editor's Export writes.
#include "cli/cli.h"
#include "cli/fontinput.h"
#include "core/asmexport.h"
#include "core/modtools.h"

#include <QCommandLineParser>

namespace {
constexpr CommandUsage Usage {
    "export",
    "Usage: glyphwright-cli export FONT.pf [-o OUT.asm] [--name NAME]\n"
    "\n"
    "Writes the font as PIC assembler source: a comment header naming the font, then one\n"
    "\"Char_NNN db ...\" line of 8 bytes per character, byte for byte what the editor's\n"
    "File, Export writes for the same font file. FONT.pf '-' reads the font from standard\n"
    "input; the header then names no file unless --name gives a name.\n"
    "\n"
    "Options:\n"
    "  -o, --output FILE  write to FILE (replaced only once the whole source is written);\n"
    "                     standard output when absent or '-'\n"
    "  --name NAME        the font name in the header instead of FONT.pf's file name\n"
    "  -h, --help         show this help\n",
    1, 1};
} // namespace

int runExport(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Output file."), QStringLiteral("FILE"),
                                    QStringLiteral("-"));
    const QCommandLineOption name(QStringLiteral("name"), QStringLiteral("Header name."),
                                  QStringLiteral("NAME"));
    parser.addOption(output);
    parser.addOption(name);
    if (const std::optional<int> status = parseCommandLine(parser, arguments, Usage))
        return *status;

    const QString fontPath = parser.positionalArguments().constFirst();
    if (outputReplacesInput(parser.value(output), fontPath))
        return ExitFailure;
    const std::optional<FontInput> input = readFontInput(fontPath);
    if (!input)
        return ExitFailure;
    // The editor names the font by the file name part of the path it opened; standard input
    // has none.
    const QString fileName = fontPath == QLatin1String("-") ? QString() : FileNameOf(fontPath);
    const QString header = parser.isSet(name) ? parser.value(name) : fileName;
    return writeOutput(parser.value(output), asmSource(input->font, header)) ? ExitOk : ExitFailure;
}
