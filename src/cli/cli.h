#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

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
