// export: the font as PIC assembler source, the very bytes the editor's Export writes.
#include "cli/cli.h"
#include "cli/commandline.h"
#include "cli/fontinput.h"
#include "cli/options.h"
#include "core/asmexport.h"
#include "core/modtools.h"

namespace {
constexpr OptionUse ExportOptions[] = {
    {&Options::Output, "write to FILE (replaced only once the whole source is written); standard "
                       "output when absent or '-'"},
    {&Options::Name, "the font name in the header instead of FONT.pf's file name"},
};

constexpr CommandSpec Export {
    "export",
    "FONT.pf [-o OUT.asm] [--name NAME]",
    "Writes the font as PIC assembler source: a comment header naming the font, then one "
    "\"Char_NNN db ...\" line of 8 bytes per character, byte for byte what the editor's File, "
    "Export writes for the same font file. FONT.pf '-' reads the font from standard input; the "
    "header then names no file unless --name gives a name.",
    ExportOptions,
    1,
    1};
} // namespace

int runExport(const QStringList &arguments)
{
    CommandLine line(Export);
    if (const std::optional<int> status = line.parse(arguments))
        return *status;
    const QString fontPath = line.files().constFirst();
    // The editor names the font by the file name part of the path it opened; standard input
    // has none.
    const QString header = line.isSet(Options::Name)        ? line.value(Options::Name)
                           : fontPath == QLatin1String("-") ? QString()
                                                            : FileNameOf(fontPath);
    return readThenWrite(fontPath, line.output(), readFontInput,
                         [&header](const FontInput &input) -> std::optional<QByteArray> {
                             return asmSource(input.font, header);
                         });
}
