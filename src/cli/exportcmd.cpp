#include "cli/cli.h"

// Placeholder until the export command is written.
int runExport(const QStringList &)
{
    printError(QStringLiteral("export: not yet available."));
    return ExitFailure;
}
