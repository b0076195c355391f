#include "cli/cli.h"

#include "cli/standardstreams.h"
#include "core/charbitmap.h"
#include "core/fileio.h"
#include "core/filename.h"

#include <QDir>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
constexpr char ProgramName[] = "glyphwright-cli";

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error)) + QLatin1Char('.');
}

// Why a write to standard output failed, or an empty text when write() succeeded.
template<typename Write> QString standardOutputError(Write write)
{
    if (standardOutputWasClosed())
        return QStringLiteral("it is closed.");
    errno = 0;
    if (write())
        return {};
    // Taken at once: printing the message may change errno.
    const int reason = errno;
    return reason != 0 ? systemReason(reason) : QStringLiteral("the output could not be written.");
}

// The bytes as they are, for data (where text would go to a console as characters).
bool writeBytes(const QByteArray &bytes)
{
    const size_t written
        = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    return std::fflush(stdout) == 0 && written == static_cast<size_t>(bytes.size());
}

void reportWriteFailure(const QString &path, const QString &error)
{
    printError(QStringLiteral("%1: cannot write: %2").arg(outputName(path), error));
}
} // namespace

void printError(const QString &message)
{
    writeText(stderr,
              QLatin1String(ProgramName) + QStringLiteral(": ") + message + QLatin1Char('\n'));
}

void printWarning(const QString &message)
{
    printError(QStringLiteral("warning: ") + message);
}

void printNote(const QString &message)
{
    printError(message);
}

bool printOut(const QString &text)
{
    const QString error = standardOutputError([&text] { return writeText(stdout, text); });
    if (!error.isEmpty())
        reportWriteFailure(QStringLiteral("-"), error);
    return error.isEmpty();
}

bool writeOutput(const QString &path, const QByteArray &bytes)
{
    const QString error = path == QLatin1String("-")
                              ? standardOutputError([&bytes] { return writeBytes(bytes); })
                              : writeFileAtomically(path, bytes);
    if (!error.isEmpty())
        reportWriteFailure(path, error);
    return error.isEmpty();
}

bool writeOutputs(const QStringList &paths, const QList<QByteArray> &contents)
{
    if (paths.size() == 1)
        return writeOutput(paths.first(), contents.first());
    const FilesWritten written = writeFilesAtomically(paths, contents);
    if (written.failed < 0)
        return true;
    reportWriteFailure(paths[written.failed], written.error);
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (i == written.failed)
            continue;
        const auto notPutBack = std::find_if(
            written.notPutBack.cbegin(), written.notPutBack.cend(),
            [i](const std::pair<qsizetype, QString> &file) { return file.first == i; });
        if (notPutBack == written.notPutBack.cend())
            printNote(QStringLiteral("%1: left as it was.").arg(outputName(paths[i])));
        else
            printError(QStringLiteral("%1: written, but cannot be put back as it was: %2")
                           .arg(outputName(paths[i]), notPutBack->second));
    }
    return false;
}

QString inputName(const QString &path)
{
    return path == QLatin1String("-") ? QStringLiteral("standard input")
                                      : printableFileName(QDir::toNativeSeparators(path));
}

QString outputName(const QString &path)
{
    return path == QLatin1String("-") ? QStringLiteral("standard output")
                                      : printableFileName(QDir::toNativeSeparators(path));
}

bool outputReplacesInput(const QString &output, const QString &input)
{
    if (output == QLatin1String("-") || input == QLatin1String("-") || !sameFile(output, input))
        return false;
    printError(QStringLiteral("%1: the output is the input file; not replacing it.")
                   .arg(outputName(output)));
    return true;
}
