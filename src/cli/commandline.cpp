#include "cli/commandline.h"

#include "cli/cli.h"
#include "core/coderange.h"
#include "core/filename.h"

namespace {
constexpr int HelpWidth = 79;
constexpr int OptionIndent = 2;
constexpr int OptionColumnGap = 2;
constexpr int MinOptionColumn = 20;

// Every command takes it, and it ends the parsing wherever it stands.
constexpr Option Help {"help", 'h', Option::Kind::Switch, nullptr, "show this help"};

QStringList words(const char *list)
{
    return QString::fromLatin1(list).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QStringList valueNames(const Option &option)
{
    QStringList names;
    for (const OptionValue &value : option.values())
        names.append(QLatin1String(value.name));
    return names;
}

// What the help shows after an option's name: "FILE", or a choice's values, "dark|light".
QString valuePlaceholder(const Option &option)
{
    if (option.valueName)
        return QLatin1String(option.valueName);
    return valueNames(option).join(QLatin1Char('|'));
}

QString optionLabel(const Option &option)
{
    QString label = option.shortName ? QStringLiteral("-%1, ").arg(QLatin1Char(option.shortName))
                                     : QStringLiteral("    ");
    label += QStringLiteral("--") + QLatin1String(option.longName);
    if (option.takesValue())
        label += QLatin1Char(' ') + valuePlaceholder(option);
    return label;
}
} // namespace

QString optionName(const Option &option)
{
    const QString longName = QStringLiteral("--") + QLatin1String(option.longName);
    return option.shortName
               ? QStringLiteral("-") + QLatin1Char(option.shortName) + QLatin1Char('/') + longName
               : longName;
}

QString joinedAlternatives(const QStringList &words)
{
    if (words.size() < 2)
        return words.join(QString());
    return words.first(words.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ")
           + words.last();
}

QString wrappedText(const QString &text, int indent, int width, int firstColumn)
{
    QString out;
    const QStringList paragraphs = text.split(QStringLiteral("\n\n"));
    for (qsizetype p = 0; p < paragraphs.size(); ++p) {
        if (p > 0)
            out += QLatin1Char('\n');
        const QString &paragraph = paragraphs[p];
        // Lines that start with spaces are an example, set as they are.
        if (paragraph.startsWith(QLatin1Char(' '))) {
            out += paragraph + QLatin1Char('\n');
            continue;
        }
        int column = p == 0 ? firstColumn : 0;
        bool lineStarted = false;
        for (const QString &word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (lineStarted && column + 1 + word.size() > width) {
                out += QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
                column = indent;
                lineStarted = false;
            }
            if (lineStarted) {
                out += QLatin1Char(' ');
                ++column;
            }
            out += word;
            column += int(word.size());
            lineStarted = true;
        }
        out += QLatin1Char('\n');
    }
    return out;
}

CommandLine::CommandLine(const CommandSyntax &syntax)
    : m_syntax(syntax)
{ }

const Option *CommandLine::longOption(const QString &name) const
{
    if (name == QLatin1String(Help.longName))
        return &Help;
    for (const OptionUse &use : m_syntax.options) {
        if (name == QLatin1String(use.option->longName))
            return use.option;
    }
    return nullptr;
}

const Option *CommandLine::shortOption(QChar name) const
{
    if (name == QLatin1Char(Help.shortName))
        return &Help;
    for (const OptionUse &use : m_syntax.options) {
        if (use.option->shortName && name == QLatin1Char(use.option->shortName))
            return use.option;
    }
    return nullptr;
}

QString CommandLine::valueError(GivenOption &given) const
{
    const Option &option = *given.option;
    const QString &value = given.value;
    switch (option.kind) {
    case Option::Kind::Switch:
    case Option::Kind::Text:
        return {};
    case Option::Kind::Output:
        if (value.isEmpty())
            return QStringLiteral("%1 needs a file name, not an empty text (- is standard output)")
                .arg(optionName(option));
        return {};
    case Option::Kind::Number:
        if (const std::optional<qint64> parsed = parseNumber(value);
            parsed && *parsed >= option.first && *parsed <= option.last) {
            given.number = *parsed;
            return {};
        }
        return QStringLiteral("--%1 '%2': expects a whole number from %3 to %4")
            .arg(QLatin1String(option.longName), printableFileName(value),
                 QString::number(option.first), QString::number(option.last));
    case Option::Kind::Choice: {
        const bool counted = option.last != 0;
        const qsizetype colon = counted ? value.indexOf(QLatin1Char(':')) : -1;
        const QString name = colon < 0 ? value : value.first(colon);
        std::optional<qint64> count = option.first;
        if (colon >= 0)
            count = parseNumber(QStringView(value).sliced(colon + 1));
        for (const OptionValue &choice : option.values()) {
            if (count && *count >= option.first && *count <= option.last
                && (name.compare(QLatin1String(choice.name), Qt::CaseInsensitive) == 0
                    || words(choice.aliases).contains(name, Qt::CaseInsensitive))) {
                given.number = choice.code;
                given.count = *count;
                return {};
            }
        }
        const QStringList names = valueNames(option);
        QString error = QStringLiteral("--%1 '%2': expects %3")
                            .arg(QLatin1String(option.longName), printableFileName(value),
                                 joinedAlternatives(names));
        if (counted)
            error
                += QStringLiteral(", each with :N for %1 to %2 (%3:%4)")
                       .arg(QString::number(option.first), QString::number(option.last),
                            names.value(1, names.constFirst()), QString::number(option.first + 1));
        return error;
    }
    }
    return {};
}

std::optional<int> CommandLine::parse(const QStringList &arguments)
{
    bool optionsEnd = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (optionsEnd || argument == QLatin1String("-")
            || !argument.startsWith(QLatin1Char('-'))) {
            const qsizetype index = m_arguments.size();
            if (argument.isEmpty() && index < qsizetype(m_syntax.arguments.size())
                && m_syntax.arguments[index].kind == Argument::Kind::File)
                return usageError(QStringLiteral("an empty text where %1 belongs ('-' is "
                                                 "standard input)")
                                      .arg(QLatin1String(m_syntax.arguments[index].name)));
            m_arguments.append(argument);
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnd = true;
            continue;
        }
        const Option *option = nullptr;
        std::optional<QString> attached; // a value in the same argument
        if (argument.startsWith(QLatin1String("--"))) {
            const qsizetype equals = argument.indexOf(QLatin1Char('='));
            option = longOption(argument.mid(2, equals < 0 ? -1 : equals - 2));
            if (equals >= 0)
                attached = argument.mid(equals + 1);
        } else {
            option = shortOption(argument.at(1));
            if (option && argument.size() > 2) {
                // A switch takes no value, so "-ab" is no bundle of ours: only -oFILE is.
                if (!option->takesValue())
                    option = nullptr;
                else
                    attached = argument.mid(2);
            }
        }
        if (!option) {
            QString message
                = QStringLiteral("unknown option '%1'").arg(printableFileName(argument));
            if (!argument.startsWith(QLatin1String("--")))
                message += QStringLiteral(" (a file whose name starts with '-' is given after "
                                          "'--', or as './%1')")
                               .arg(printableFileName(argument));
            return usageError(message);
        }
        GivenOption given {option, {}};
        if (option->takesValue()) {
            if (attached) {
                given.value = *attached;
            } else if (i + 1 < arguments.size()) {
                given.value = arguments[++i];
            } else {
                return usageError(QStringLiteral("%1 needs a value (%2)")
                                      .arg(optionName(*option), valuePlaceholder(*option)));
            }
            if (const QString error = valueError(given); !error.isEmpty())
                return usageError(error);
        } else if (attached) {
            return usageError(QStringLiteral("%1 takes no value").arg(optionName(*option)));
        }
        if (option == &Help) {
            if (!printOut(help()))
                return ExitFailure;
            return ExitOk;
        }
        m_given.append(given);
    }
    const qsizetype count = m_arguments.size();
    const qsizetype expected = qsizetype(m_syntax.arguments.size());
    if (count < expected)
        return usageError(QStringLiteral("too few arguments (expects %1, got %2): %3 is missing")
                              .arg(expected)
                              .arg(count)
                              .arg(QLatin1String(m_syntax.arguments[count].name)));
    if (count > expected)
        return usageError(
            QStringLiteral("too many arguments (expects %1, got %2)").arg(expected).arg(count));
    for (const OptionUse &use : m_syntax.options) {
        if (!use.required || isSet(*use.option))
            continue;
        const QString name = use.option->shortName
                                 ? QStringLiteral("-") + QLatin1Char(use.option->shortName)
                                 : QStringLiteral("--") + QLatin1String(use.option->longName);
        QString message
            = QStringLiteral("%1 %2 is required").arg(name, QLatin1String(use.required));
        if (use.option->kind == Option::Kind::Output)
            message += QStringLiteral(" (or %1 - for standard output)").arg(name);
        return usageError(message);
    }
    return std::nullopt;
}

bool CommandLine::isSet(const Option &option) const
{
    for (const GivenOption &given : m_given) {
        if (given.option == &option)
            return true;
    }
    return false;
}

QString CommandLine::value(const Option &option, const QString &fallback) const
{
    const GivenOption *last = nullptr;
    for (const GivenOption &given : m_given) {
        if (given.option == &option)
            last = &given;
    }
    return last ? last->value : fallback;
}

qint64 CommandLine::number(const Option &option, qint64 fallback) const
{
    qint64 last = fallback;
    for (const GivenOption &given : m_given) {
        if (given.option == &option)
            last = given.number;
    }
    return last;
}

int CommandLine::usageError(const QString &message) const
{
    printError(QStringLiteral("%1: %2; see 'glyphwright-cli %1 --help'.")
                   .arg(QLatin1String(m_syntax.name), message));
    return ExitUsage;
}

namespace {
// "Usage: glyphwright-cli NAME SYNOPSIS" within the help's width: continued lines start under
// the synopsis, and a bracketed option ("[--codes FIRST-LAST]") is never split.
QString usageLines(const QString &start, const QString &synopsis)
{
    QStringList groups;
    int depth = 0;
    for (const QString &word : synopsis.simplified().split(QLatin1Char(' '))) {
        if (depth > 0)
            groups.last() += QLatin1Char(' ') + word;
        else
            groups.append(word);
        depth += int(word.count(QLatin1Char('['))) - int(word.count(QLatin1Char(']')));
    }
    QString text = start;
    qsizetype column = start.size();
    for (qsizetype i = 0; i < groups.size(); ++i) {
        if (i > 0 && column + 1 + groups[i].size() > HelpWidth) {
            text += QLatin1Char('\n') + QString(start.size(), QLatin1Char(' '));
            column = start.size();
        } else if (i > 0) {
            text += QLatin1Char(' ');
            ++column;
        }
        text += groups[i];
        column += groups[i].size();
    }
    return text + QLatin1Char('\n');
}
} // namespace

QString CommandLine::help() const
{
    QString text
        = usageLines(QStringLiteral("Usage: glyphwright-cli %1 ").arg(QLatin1String(m_syntax.name)),
                     QLatin1String(m_syntax.synopsis))
          + QLatin1Char('\n');
    text += wrappedText(QString::fromUtf8(m_syntax.description), 0, HelpWidth);
    QList<std::pair<QString, QString>> rows;
    for (const OptionUse &use : m_syntax.options)
        rows.append(
            {optionLabel(*use.option), QString::fromUtf8(use.help ? use.help : use.option->help)});
    rows.append({optionLabel(Help), QString::fromUtf8(Help.help)});
    int column = MinOptionColumn;
    for (const auto &[label, help] : rows)
        column = qMax(column, int(OptionIndent + label.size() + OptionColumnGap));
    text += QStringLiteral("\nOptions:\n");
    for (const auto &[label, help] : rows) {
        const QString start = QString(OptionIndent, QLatin1Char(' ')) + label;
        text += start + QString(column - start.size(), QLatin1Char(' '))
                + wrappedText(help, column, HelpWidth, column);
    }
    if (m_syntax.moreHelp)
        text += QLatin1Char('\n') + m_syntax.moreHelp();
    text += QLatin1Char('\n')
            + wrappedText(QStringLiteral("Exit status: 0 success, 1 a failed check or operation "
                                         "(the reason on standard error), 2 a usage error."),
                          0, HelpWidth);
    return text;
}
