#include "cli/commands.h"

#include <array>

// Each command lives in a file of its own and adds one line here.
int runExport(const QStringList &arguments);

namespace {
constexpr std::array Commands {
    Command {"export", "write the font as PIC assembler source", runExport},
};
} // namespace

std::span<const Command> commands()
{
    return Commands;
}
