// glyphwright-cli: the companion for builds without a display. It works on .pf fonts with the
// same core the editor uses, so both produce the very same bytes.
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/standardstreams.h"
#include "core/filename.h"
#include "core/fileio.h"
#include "core/version.h"

#include <QCoreApplication>

#include <csignal>

namespace {
QString programHelp()
{
    QString help = QStringLiteral(
        "Usage: glyphwright-cli COMMAND [OPTIONS] [ARGUMENTS]\n"
        "       glyphwright-cli --help | --version\n"
        "\n"
        "Works on 8x8 fonts of 256 characters in .pf files (2,048 bytes, 8 a character).\n"
        "\n"
        "Commands:\n");
    for (const Command &command : commands()) {
        QString summary = QLatin1String(command.summary);
        if (command.formats)
            summary += QLatin1Char(' ') + command.formats();
        help += QStringLiteral("  %1 %2\n").arg(QLatin1String(command.name), -11).arg(summary);
    }
    help += QStringLiteral(
        "\n"
        "Run 'glyphwright-cli COMMAND --help' for a command's options.\n"
        "Exit status: 0 success, 1 a failed check or operation, 2 a usage error.\n");
    return help;
}
} // namespace

int main(int argc, char *argv[])
{
    // Before anything opens a file, which would otherwise take a closed descriptor's number.
    prepareStandardStreams();
#ifdef SIGXFSZ
    // A write past the file-size limit must fail with a message, not kill the process.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    removeTemporaryFilesOnSignals();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("glyphwright-cli"));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(Version::Text));

    QStringList arguments = commandLineArguments(argc, argv);
    arguments.removeFirst();
    if (arguments.isEmpty()) {
        printError(QStringLiteral("no command given; see 'glyphwright-cli --help'."));
        return ExitUsage;
    }
    const QString first = arguments.takeFirst();
    if (first == QLatin1String("--help") || first == QLatin1String("-h"))
        return printOut(programHelp()) ? ExitOk : ExitFailure;
    if (first == QLatin1String("--version"))
        return printOut(
                   QStringLiteral("glyphwright-cli %1\n").arg(QString::fromUtf8(Version::Text)))
                   ? ExitOk
                   : ExitFailure;
    for (const Command &command : commands()) {
        if (first == QLatin1String(command.name))
            return command.run(arguments);
    }
    printError(QStringLiteral("unknown command '%1'; see 'glyphwright-cli --help'.")
                   .arg(printableFileName(first)));
    return ExitUsage;
}
