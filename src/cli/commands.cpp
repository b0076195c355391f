#include "cli/commands.h"

#include "formats/fontformats.h"

#include <array>

// Each command lives in a file of its own and adds one line here.
int runExport(const QStringList &arguments);
int runCheck(const QStringList &arguments);
int runText(const QStringList &arguments);
int runFromText(const QStringList &arguments);
int runImport(const QStringList &arguments);
int runConvert(const QStringList &arguments);
int runRender(const QStringList &arguments);
int runTransform(const QStringList &arguments);

namespace {
constexpr std::array Commands {
    Command {"export", "write the font as PIC assembler source", runExport},
    Command {"check", "compare an assembler source with the font", runCheck},
    Command {"text", "write the font as text, pixels drawn with '#' and '.'", runText},
    Command {"from-text", "turn that text back into a font file", runFromText},
    Command {"import", "make a font from", runImport, readerNames},
    Command {"convert", "write the font as", runConvert, writerNames},
    Command {"render", "draw a line of text in the font as a PNG", runRender},
    Command {"transform", "move, mirror, turn, invert or embolden every glyph", runTransform},
};
} // namespace

std::span<const Command> commands()
{
    return Commands;
}
