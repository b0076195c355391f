#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <utility>

// One option a command may take. The shared ones are in options.h, so that an option means the
// same in every command that takes it.
struct Option
{
    const char *longName; // "output", given as --output
    char shortName; // 'o', given as -o; 0 for none
    const char *valueName; // "FILE"; null for a switch
    const char *help; // one paragraph for the help's Options block
};

// An option as one command takes it, with that command's own words for it when they say more.
struct OptionUse
{
    const Option *option;
    const char *help = nullptr; // null: the option's own
};

// A command as its help shows it and its parser checks it.
struct CommandSyntax
{
    const char *name;
    const char *synopsis; // what follows the name on the Usage line
    const char *description; // paragraphs separated by "\n\n", wrapped for the help
    std::span<const OptionUse> options;
    int minFiles;
    int maxFiles;
    const char *requiredOutput = nullptr; // -o's placeholder ("FONT.pf") when -o must be given
    QString (*moreHelp)() = nullptr; // a block after the options (a list of formats, say)
};

// A command's arguments, parsed as GNU tools parse them: options anywhere, "--opt value",
// "--opt=value", "-o value" and "-oVALUE"; "--" ends the options; "-" alone is a file.
class CommandLine final
{
public:
    explicit CommandLine(const CommandSyntax &syntax);

    // Parses a command's arguments (those after its name). Returns the status to exit with when
    // the command must not go on: ExitOk after printing the help, ExitUsage after a usage error,
    // ExitFailure when the help could not be written.
    std::optional<int> parse(const QStringList &arguments);

    bool isSet(const Option &option) const;
    // The last value given, or an empty text.
    QString value(const Option &option) const;
    // Every option given, in order, with its value (empty for a switch).
    const QList<std::pair<const Option *, QString>> &given() const { return m_given; }
    const QStringList &files() const { return m_files; }
    // -o's file, "-" (standard output) when it is absent.
    QString output() const;

    // Reports a usage error naming the command and pointing to its help; returns ExitUsage.
    int usageError(const QString &message) const;
    // An option's whole number from first to last, decimal or 0x hex; nothing, after a usage
    // error, when it is not one.
    std::optional<qint64> number(const Option &option, qint64 first, qint64 last) const;
    std::optional<qint64> number(const QString &what, const QString &text, qint64 first,
                                 qint64 last) const;

    // The whole text of 'glyphwright-cli NAME --help'.
    QString help() const;

private:
    const Option *longOption(const QString &name) const;
    const Option *shortOption(QChar name) const;

    const CommandSyntax &m_syntax;
    QList<std::pair<const Option *, QString>> m_given;
    QStringList m_files;
};

// Paragraphs (separated by a blank line) wrapped to a width, each line after a paragraph's first
// indented; the first line starts firstColumn characters in. A paragraph that starts with a space
// is an example, kept as it is.
QString wrappedText(const QString &text, int indent, int width, int firstColumn = 0);
