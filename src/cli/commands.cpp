#include "cli/commands.h"

#include <array>

// Each command lives in a file of its own and adds one line here.
int runExport(const QStringList &arguments);
int runCheck(const QStringList &arguments);
int runText(const QStringList &arguments);
int runFromText(const QStringList &arguments);

namespace {
constexpr std::array Commands {
    Command {"export", "write the font as PIC assembler source", runExport},
    Command {"check", "compare an assembler source with the font", runCheck},
    Command {"text", "write the font as text, pixels drawn with '#' and '.'", runText},
    Command {"from-text", "turn that text back into a font file", runFromText},
};
} // namespace

std::span<const Command> commands()
{
    return Commands;
}
