#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Exit statuses: success, a failed check or operation, a usage error.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

// One subcommand: its name, a one-line summary for the program's help, and its entry point,
// which receives the arguments after the command's name.
struct Command
{
    const char *name;
    const char *summary;
    int (*run)(const QStringList &arguments);
};

// Messages on standard error, prefixed with the program's name: "glyphwright-cli: ...".
void printError(const QString &message);
void printWarning(const QString &message);
void printNote(const QString &message);
// Plain text on standard output (help, version).
void printOut(const QString &text);

// Writes bytes to standard output for "-", otherwise atomically to the file; reports a failure
// naming the file and the reason and returns false.
bool writeOutput(const QString &path, const QByteArray &bytes);

class QCommandLineParser;

// What a command's help shows, how many plain arguments (files) it takes, and whether its -o
// option must be given.
struct CommandUsage
{
    const char *name;
    const char *help; // the whole text of 'glyphwright-cli NAME --help'
    int minArguments;
    int maxArguments;
    const char *requiredOutput = nullptr; // -o's placeholder ("FONT.pf") when -o is required
};

// Parses a command's arguments with the options already added to the parser, plus -h/--help.
// Returns the status to exit with when the command must not go on: ExitOk after printing the
// help, ExitUsage after a usage error (an unknown option, a wrong number of arguments, a
// required -o missing); nothing otherwise.
std::optional<int> parseCommandLine(QCommandLineParser &parser, const QStringList &arguments,
                                    const CommandUsage &usage);

// A file as messages name it; "-" is standard input or standard output.
QString inputName(const QString &path);
QString outputName(const QString &path);

// True, after reporting it, when the output names the same file as the input: writing would
// replace the font or text being read with something else.
bool outputReplacesInput(const QString &output, const QString &input);
