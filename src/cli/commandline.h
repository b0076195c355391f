#pragma once

#include "cli/option.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>

// An option as one command takes it, with that command's own words for it when they say more.
struct OptionUse
{
    const Option *option;
    const char *help = nullptr; // null: the option's own
    // When the command cannot go without the option: the value its usage names ("FONT.pf").
    const char *required = nullptr;
};

// One positional argument, by the name the usage gives it.
struct Argument
{
    enum class Kind {
        File, // a file to read; '-' is standard input
        Text, // any text, the empty one included
    };
    const char *name; // "FONT.pf", "TEXT"
    Kind kind = Kind::File;
};

// A command as its help shows it and its parser checks it.
struct CommandSyntax
{
    const char *name;
    const char *synopsis; // what follows the name on the Usage line
    const char *description; // paragraphs separated by "\n\n", wrapped for the help
    std::span<const OptionUse> options;
    std::span<const Argument> arguments; // each one required
    QString (*moreHelp)() = nullptr; // a block after the options (a list of formats, say)
};

// An option as it was given, its value already checked against its kind.
struct GivenOption
{
    const Option *option;
    QString value; // as given; empty for a switch
    qint64 number = 0; // a number's value, or the code of a choice's value
    qint64 count = 0; // a choice's count
};

// A command's arguments, parsed as GNU tools parse them: options anywhere, "--opt value",
// "--opt=value", "-o value" and "-oVALUE"; "--" ends the options; "-" alone is an argument.
class CommandLine final
{
public:
    explicit CommandLine(const CommandSyntax &syntax);

    // Parses a command's arguments (those after its name). Returns the status to exit with when
    // the command must not go on: ExitOk after printing the help, ExitUsage after a usage error,
    // ExitFailure when the help could not be written.
    std::optional<int> parse(const QStringList &arguments);

    bool isSet(const Option &option) const;
    // The last value given, or the fallback.
    QString value(const Option &option, const QString &fallback = {}) const;
    // A number option's last value, or the fallback.
    qint64 number(const Option &option, qint64 fallback) const;
    // The code of a choice option's last value, or the fallback, as the type the codes are of.
    template<typename T> T choice(const Option &option, T fallback) const
    {
        return static_cast<T>(number(option, static_cast<qint64>(fallback)));
    }
    // Every option given, in order.
    const QList<GivenOption> &given() const { return m_given; }
    // The positional arguments, in the order of the command's syntax.
    const QStringList &arguments() const { return m_arguments; }
    const QString &argument(qsizetype index) const { return m_arguments.at(index); }

    // Reports a usage error naming the command and pointing to its help; returns ExitUsage.
    int usageError(const QString &message) const;

    // The whole text of 'glyphwright-cli NAME --help'.
    QString help() const;

private:
    const Option *longOption(const QString &name) const;
    const Option *shortOption(QChar name) const;
    // The error in a value for the option, or an empty text; sets the number of a number or
    // choice, and a choice's count.
    QString valueError(GivenOption &given) const;

    const CommandSyntax &m_syntax;
    QList<GivenOption> m_given;
    QStringList m_arguments;
};

// "--scale", or "-o/--output" for an option with a short name, as messages name it.
QString optionName(const Option &option);

// "a, b or c".
QString joinedAlternatives(const QStringList &words);

// Paragraphs (separated by a blank line) wrapped to a width, each line after a paragraph's first
// indented; the first line starts firstColumn characters in. A paragraph that starts with a space
// is an example, kept as it is.
QString wrappedText(const QString &text, int indent, int width, int firstColumn = 0);
