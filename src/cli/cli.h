#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Exit statuses: success, a failed check or operation, a usage error.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

// Messages on standard error, prefixed with the program's name: "glyphwright-cli: ...".
void printError(const QString &message);
void printWarning(const QString &message);
void printNote(const QString &message);
// Text on standard output (help, version); false, after reporting why, when it could not be
// written.
bool printOut(const QString &text);

// Writes bytes to standard output for "-", otherwise atomically to the file; reports a failure
// naming the file and the reason and returns false.
bool writeOutput(const QString &path, const QByteArray &bytes);
// Writes several files (a C header and its source) as writeOutput() writes one, all or none:
// when one cannot be written, those written before it are put back as they were.
bool writeOutputs(const QStringList &paths, const QList<QByteArray> &contents);

// A file as messages name it; "-" is standard input or standard output.
QString inputName(const QString &path);
QString outputName(const QString &path);

// True, after reporting it, when the output names the same file as the input: writing would
// replace the font or text being read with something else.
bool outputReplacesInput(const QString &output, const QString &input);

// Whether a command may write its output over its input, as transform --in-place does.
enum class Overwrite { Refused, Allowed };

// The one course of every command that turns an input into outputs: refuses an output that is
// the input (unless allowed: the outputs are written atomically, so the input stays whole until
// it is replaced), reads the input, makes the outputs (nothing when it could not, having said
// why), writes them, all or none, and gives the exit status.
template<typename Read, typename Make>
int readThenWriteAll(const QString &input, const QStringList &outputs, Read read, Make make,
                     Overwrite overwrite = Overwrite::Refused)
{
    for (const QString &output : outputs) {
        if (overwrite == Overwrite::Refused && outputReplacesInput(output, input))
            return ExitFailure;
    }
    const auto source = read(input);
    if (!source)
        return ExitFailure;
    const std::optional<QList<QByteArray>> contents = make(*source);
    if (!contents)
        return ExitFailure;
    return writeOutputs(outputs, *contents) ? ExitOk : ExitFailure;
}

// The same course for one output, which most commands make.
template<typename Read, typename Make>
int readThenWrite(const QString &input, const QString &output, Read read, Make make,
                  Overwrite overwrite = Overwrite::Refused)
{
    return readThenWriteAll(
        input, {output}, read,
        [&make](const auto &source) -> std::optional<QList<QByteArray>> {
            std::optional<QByteArray> bytes = make(source);
            if (!bytes)
                return std::nullopt;
            return QList<QByteArray> {std::move(*bytes)};
        },
        overwrite);
}
