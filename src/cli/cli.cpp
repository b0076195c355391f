#include "cli/cli.h"

#include "cli/standardstreams.h"
#include "core/fileio.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
constexpr char ProgramName[] = "glyphwright-cli";
} // namespace

void printError(const QString &message)
{
    writeText(stderr,
              QLatin1String(ProgramName) + QStringLiteral(": ") + message + QLatin1Char('\n'));
}

void printWarning(const QString &message)
{
    writeText(stderr, QLatin1String(ProgramName) + QStringLiteral(": warning: ") + message
                          + QLatin1Char('\n'));
}

void printNote(const QString &message)
{
    printError(message);
}

void printOut(const QString &text)
{
    writeText(stdout, text);
}

bool writeOutput(const QString &path, const QByteArray &bytes)
{
    QString error;
    if (path == QLatin1String("-")) {
        errno = 0;
        const size_t written
            = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
        if (written != static_cast<size_t>(bytes.size()) || std::fflush(stdout) != 0) {
            // Taken at once: printing the message may change errno.
            const int reason = errno;
            error = reason != 0 ? QString::fromLocal8Bit(std::strerror(reason)) + QLatin1Char('.')
                                : QStringLiteral("the output could not be written.");
        }
    } else {
        error = writeFileAtomically(path, bytes);
    }
    if (!error.isEmpty()) {
        printError(QStringLiteral("%1: cannot write: %2").arg(outputName(path), error));
        return false;
    }
    return true;
}

std::optional<int> parseCommandLine(QCommandLineParser &parser, const QStringList &arguments,
                                    const CommandUsage &usage)
{
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    parser.addOption(help);
    const QString command = QLatin1String(usage.name);
    const QString seeHelp = QStringLiteral("; see 'glyphwright-cli %1 --help'.").arg(command);
    // The parser takes the program's name first.
    if (!parser.parse(QStringList {QLatin1String(ProgramName)} + arguments)) {
        QString reason = parser.errorText();
        if (reason.endsWith(QLatin1Char('.')))
            reason.chop(1);
        printError(command + QStringLiteral(": ") + reason + seeHelp);
        return ExitUsage;
    }
    if (parser.isSet(help)) {
        printOut(QString::fromUtf8(usage.help));
        return ExitOk;
    }
    const qsizetype count = parser.positionalArguments().size();
    if (count < usage.minArguments || count > usage.maxArguments) {
        const QString expected
            = usage.minArguments == usage.maxArguments
                  ? QString::number(usage.minArguments)
                  : QStringLiteral("%1 to %2").arg(usage.minArguments).arg(usage.maxArguments);
        printError(
            QStringLiteral("%1: too %2 arguments (expects %3, got %4)")
                .arg(command,
                     count < usage.minArguments ? QStringLiteral("few") : QStringLiteral("many"),
                     expected, QString::number(count))
            + seeHelp);
        return ExitUsage;
    }
    if (usage.requiredOutput && !parser.isSet(QStringLiteral("o"))) {
        printError(QStringLiteral("%1: -o %2 is required (or -o - for standard output)")
                       .arg(command, QLatin1String(usage.requiredOutput))
                   + seeHelp);
        return ExitUsage;
    }
    return std::nullopt;
}

QString inputName(const QString &path)
{
    return path == QLatin1String("-") ? QStringLiteral("standard input")
                                      : QDir::toNativeSeparators(path);
}

QString outputName(const QString &path)
{
    return path == QLatin1String("-") ? QStringLiteral("standard output")
                                      : QDir::toNativeSeparators(path);
}

bool outputReplacesInput(const QString &output, const QString &input)
{
    if (output == QLatin1String("-") || input == QLatin1String("-"))
        return false;
    const QString target = QFileInfo(output).canonicalFilePath();
    if (target.isEmpty() || target != QFileInfo(input).canonicalFilePath())
        return false;
    printError(QStringLiteral("%1: the output is the input file; not replacing it.")
                   .arg(QDir::toNativeSeparators(output)));
    return true;
}
