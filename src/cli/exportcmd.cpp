// export: the font as PIC assembler source, the very bytes the editor's Export writes.
#include "cli/commandline.h"
#include "cli/formatoptions.h"
#include "cli/options.h"
#include "formats/fontformats.h"

namespace {
constexpr OptionUse ExportOptions[] = {
    {&Options::Output, "write to FILE (replaced only once the whole source is written); standard "
                       "output when absent or '-'"},
    {&Options::Target, nullptr},
    {&Options::Syntax, nullptr},
    {&Options::Codes, "write only the characters FIRST to LAST (decimal or 0x hex, inclusive; "
                      "default 0-255), each under its own Char_NNN label; firmware subtracts FIRST "
                      "from a code before reading"},
    {&Options::Name, "the font name in the header instead of FONT.pf's file name"},
    {&Options::Layout, nullptr},
    {&Options::Width, nullptr},
};

constexpr Argument ExportArguments[] = {{"FONT.pf"}};

constexpr CommandSyntax Export {
    "export",
    "FONT.pf [-o OUT.asm] [--target pic18|pic16]\n"
    "                              [--syntax mpasm|pic-as] [--codes FIRST-LAST]\n"
    "                              [--name NAME] [--layout ORDER] [--width N]",
    "Writes the font as PIC assembler source: a comment header naming the font, then one "
    "\"Char_NNN db ...\" line of 8 bytes per character, byte for byte what the editor's File, "
    "Export writes for the same font file. FONT.pf '-' reads the font from standard input; the "
    "header then names no file unless --name gives a name.\n\n"
    "--target pic16 writes \"dt\" instead of \"db\", so that the assembler makes each byte one "
    "retlw instruction: the table the 12- and 14-bit cores (PIC10, PIC12, PIC16, PIC16F1) read "
    "with a computed jump. The header then names the target and how the table is read.\n\n"
    "--syntax pic-as writes the table for the MPLAB XC8 PIC Assembler (pic-as) that current "
    "MPLAB X ships instead of MPASM: a psect of its own (class CONST for pic18, class CODE with "
    "delta=2 for pic16), a colon after each label, the first one GLOBAL, DB lines for pic18 and "
    "a retlw line per byte for pic16.\n\n"
    "--layout and --width write each character's bytes in the order a display's controller "
    "wants; the header then states the layout. With --layout columns --width 5 a character "
    "holds 5 bytes, which an MPASM db line pads to 6 on a PIC18 (the header says so; pic-as's DB "
    "pads nothing); a pic16 table takes 5 retlw words a character.",
    ExportOptions, ExportArguments};
} // namespace

int runExport(const QStringList &arguments)
{
    CommandLine line(Export);
    if (const std::optional<int> status = line.parse(arguments))
        return *status;
    return writeFontAs(line, *formatNamed(u"asm"));
}
