#include "cli/commandline.h"

#include "cli/cli.h"
#include "cli/options.h"
#include "core/coderange.h"
#include "core/filename.h"

namespace {
constexpr int HelpWidth = 79;
constexpr int OptionIndent = 2;
constexpr int OptionColumnGap = 2;
constexpr int MinOptionColumn = 20;

QString optionLabel(const Option &option)
{
    QString label = option.shortName ? QStringLiteral("-%1, ").arg(QLatin1Char(option.shortName))
                                     : QStringLiteral("    ");
    label += QStringLiteral("--") + QLatin1String(option.longName);
    if (option.valueName)
        label += QLatin1Char(' ') + QLatin1String(option.valueName);
    return label;
}

// "-o/--output", as messages name an option.
QString optionName(const Option &option)
{
    const QString longName = QStringLiteral("--") + QLatin1String(option.longName);
    return option.shortName
               ? QStringLiteral("-") + QLatin1Char(option.shortName) + QLatin1Char('/') + longName
               : longName;
}

bool takesFileName(const Option &option)
{
    return option.valueName && QByteArrayView(option.valueName) == "FILE";
}
} // namespace

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
    if (name == QLatin1String(Options::Help.longName))
        return &Options::Help;
    for (const OptionUse &use : m_syntax.options) {
        if (name == QLatin1String(use.option->longName))
            return use.option;
    }
    return nullptr;
}

const Option *CommandLine::shortOption(QChar name) const
{
    if (name == QLatin1Char(Options::Help.shortName))
        return &Options::Help;
    for (const OptionUse &use : m_syntax.options) {
        if (use.option->shortName && name == QLatin1Char(use.option->shortName))
            return use.option;
    }
    return nullptr;
}

std::optional<int> CommandLine::parse(const QStringList &arguments)
{
    bool optionsEnd = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (optionsEnd || argument == QLatin1String("-")
            || !argument.startsWith(QLatin1Char('-'))) {
            if (argument.isEmpty())
                return usageError(QStringLiteral("an empty text where a file name belongs"));
            m_files.append(argument);
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
                if (!option->valueName)
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
        QString value;
        if (option->valueName) {
            if (attached) {
                value = *attached;
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                return usageError(QStringLiteral("%1 needs a value (%2)")
                                      .arg(optionName(*option), QLatin1String(option->valueName)));
            }
            if (value.isEmpty() && takesFileName(*option))
                return usageError(
                    QStringLiteral("%1 needs a file name, not an empty text (- is standard "
                                   "output)")
                        .arg(optionName(*option)));
        } else if (attached) {
            return usageError(QStringLiteral("%1 takes no value").arg(optionName(*option)));
        }
        if (option == &Options::Help) {
            if (!printOut(help()))
                return ExitFailure;
            return ExitOk;
        }
        m_given.append({option, value});
    }
    const qsizetype count = m_files.size();
    if (count < m_syntax.minFiles || count > m_syntax.maxFiles) {
        const QString expected
            = m_syntax.minFiles == m_syntax.maxFiles
                  ? QString::number(m_syntax.minFiles)
                  : QStringLiteral("%1 to %2").arg(m_syntax.minFiles).arg(m_syntax.maxFiles);
        return usageError(
            QStringLiteral("too %1 arguments (expects %2, got %3)")
                .arg(count < m_syntax.minFiles ? QStringLiteral("few") : QStringLiteral("many"),
                     expected, QString::number(count)));
    }
    if (m_syntax.requiredOutput && !isSet(Options::Output))
        return usageError(QStringLiteral("-o %1 is required (or -o - for standard output)")
                              .arg(QLatin1String(m_syntax.requiredOutput)));
    return std::nullopt;
}

bool CommandLine::isSet(const Option &option) const
{
    for (const auto &[given, value] : m_given) {
        if (given == &option)
            return true;
    }
    return false;
}

QString CommandLine::value(const Option &option) const
{
    QString last;
    for (const auto &[given, value] : m_given) {
        if (given == &option)
            last = value;
    }
    return last;
}

QString CommandLine::output() const
{
    return isSet(Options::Output) ? value(Options::Output) : QStringLiteral("-");
}

int CommandLine::usageError(const QString &message) const
{
    printError(QStringLiteral("%1: %2; see 'glyphwright-cli %1 --help'.")
                   .arg(QLatin1String(m_syntax.name), message));
    return ExitUsage;
}

std::optional<qint64> CommandLine::number(const Option &option, qint64 first, qint64 last) const
{
    return number(QStringLiteral("--") + QLatin1String(option.longName), value(option), first,
                  last);
}

std::optional<qint64> CommandLine::number(const QString &what, const QString &text, qint64 first,
                                          qint64 last) const
{
    const std::optional<qint64> value = parseNumber(text);
    if (!value || *value < first || *value > last) {
        usageError(
            QStringLiteral("%1 '%2': expects a whole number from %3 to %4")
                .arg(what, printableFileName(text), QString::number(first), QString::number(last)));
        return std::nullopt;
    }
    return value;
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
    rows.append({optionLabel(Options::Help), QString::fromUtf8(Options::Help.help)});
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
