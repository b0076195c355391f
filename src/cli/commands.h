#pragma once

#include <QString>
#include <QStringList>

#include <span>

// One subcommand: its name, a one-line summary for the program's help, and its entry point,
// which receives the arguments after the command's name.
struct Command
{
    const char *name;
    const char *summary;
    int (*run)(const QStringList &arguments);
    QString (*formats)() = nullptr; // the formats it takes, from their table, after the summary
};

// Every subcommand, in the order the help lists them.
std::span<const Command> commands();
