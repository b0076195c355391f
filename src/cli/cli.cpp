#include "cli/cli.h"

#include "core/fileio.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {
constexpr char ProgramName[] = "glyphwright-cli";

void printTo(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}
} // namespace

void printError(const QString &message)
{
    printTo(stderr,
            QLatin1String(ProgramName) + QStringLiteral(": ") + message + QLatin1Char('\n'));
}

void printWarning(const QString &message)
{
    printTo(stderr, QLatin1String(ProgramName) + QStringLiteral(": warning: ") + message
                        + QLatin1Char('\n'));
}

void printNote(const QString &message)
{
    printError(message);
}

void printOut(const QString &text)
{
    printTo(stdout, text);
}

bool writeOutput(const QString &path, const QByteArray &bytes)
{
    if (path == QLatin1String("-")) {
        const size_t written
            = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
        if (written != static_cast<size_t>(bytes.size()) || std::fflush(stdout) != 0) {
            printError(QStringLiteral("standard output: the output could not be written."));
            return false;
        }
        return true;
    }
    const QString error = writeFileAtomically(path, bytes);
    if (!error.isEmpty()) {
        printError(
            QStringLiteral("%1: cannot write: %2").arg(QDir::toNativeSeparators(path), error));
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
    if (count < usage.minArguments) {
        printError(command + QStringLiteral(": too few arguments") + seeHelp);
        return ExitUsage;
    }
    if (count > usage.maxArguments) {
        printError(command + QStringLiteral(": too many arguments") + seeHelp);
        return ExitUsage;
    }
    return std::nullopt;
}

QString inputName(const QString &path)
{
    return path == QLatin1String("-") ? QStringLiteral("standard input")
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
