#include "cli/formathelp.h"

#include "cli/options.h"
#include "core/filename.h"

namespace {
constexpr int HelpWidth = 79;
constexpr int NameColumn = 2;
constexpr int HelpColumn = 9;
} // namespace

QString formatList(bool reading)
{
    QString text = reading ? QStringLiteral("Formats (--from):\n")
                           : QStringLiteral("Formats (--to, or -o's extension):\n");
    for (const FontFormat &format : fontFormats()) {
        const char *help = reading ? format.readHelp : format.writeHelp;
        if (!help || (reading ? !format.reads() : !format.writes()))
            continue;
        QString start = QString(NameColumn, QLatin1Char(' ')) + QLatin1String(format.name);
        start = start.leftJustified(HelpColumn, QLatin1Char(' '));
        if (start.size() > HelpColumn)
            start += QLatin1Char(' ');
        text += start
                + wrappedText(QString::fromUtf8(help), HelpColumn, HelpWidth, int(start.size()));
    }
    return text;
}

QString optionMisfit(const Option &option, FormatOption needs, const FontFormat &format,
                     bool writing)
{
    const FormatOptions taken = writing ? format.writeOptions : format.readOptions;
    if (taken.testFlag(needs))
        return {};
    return QStringLiteral("--%1 applies to %2%3 only")
        .arg(QLatin1String(option.longName), writing ? QString() : QStringLiteral("--from "),
             namesTaking(needs, writing));
}

std::optional<CharacterSet> characterSetOption(const CommandLine &line)
{
    if (!line.isSet(Options::Charset))
        return CharacterSet();
    const QString name = line.value(Options::Charset);
    QString why;
    std::optional<CharacterSet> set = CharacterSet::named(name, &why);
    if (!set)
        line.usageError(QStringLiteral("--charset '%1': %2").arg(printableFileName(name), why));
    return set;
}
