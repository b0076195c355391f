#pragma once

#include "core/fontimage.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

// Option handling shared by import, convert and render.

// Parses a command's arguments with its options plus --help and -o. Prints the help and gives
// ExitOk for --help, prints a usage error and gives ExitUsage for anything wrong (unknown
// options, a wrong number of positional arguments, no -o); gives nothing when the command runs.
std::optional<int> parseCommandLine(QCommandLineParser &parser, const QStringList &arguments,
                                    const QString &commandName, qsizetype positionalCount,
                                    const QString &help);

// A whole number from first to last given as decimal or 0x hex; prints a usage error naming the
// option and gives nothing otherwise.
std::optional<qint64> numberOption(const QString &option, const QString &text, qint64 first,
                                   qint64 last);

// --scale's value, 1 when it is absent.
std::optional<int> scaleOption(const QCommandLineParser &parser, const QCommandLineOption &scale);

// Reads a .pf font. Any size is a font, as in the editor, but a file that is not exactly 2,048
// bytes gets a warning. Prints the error naming the file and gives nothing when it cannot be read.
std::optional<FontImage> readFontFile(const QString &path);

// The path as shown in messages.
QString shownPath(const QString &path);
