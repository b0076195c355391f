#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

#include <optional>

// Option values shared by import, convert and render.

// A whole number from first to last given as decimal or 0x hex; prints a usage error naming the
// command and the option and gives nothing otherwise.
std::optional<qint64> numberOption(const QString &command, const QString &option,
                                   const QString &text, qint64 first, qint64 last);

// --scale's value, 1 when it is absent.
std::optional<int> scaleOption(const QString &command, const QCommandLineParser &parser,
                               const QCommandLineOption &scale);
