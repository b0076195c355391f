#include "cli/formathelp.h"

#include "cli/commandline.h"

#include <QStringList>

namespace {
constexpr int HelpWidth = 79;
constexpr int NameColumn = 2;
constexpr int HelpColumn = 9;

// "--charset, --by-position": the options of the one table that the format takes.
QString optionsTaken(FormatOptions taken)
{
    QStringList names;
    for (const FormatOptionUse &row : formatOptionUses()) {
        const QString name = QStringLiteral("--") + QLatin1String(row.option->longName);
        if (taken.testFlag(row.sets) && !names.contains(name))
            names.append(name);
    }
    return names.join(QStringLiteral(", "));
}
} // namespace

QString formatList(FormatUse use)
{
    const bool reading = use == FormatUse::Reading;
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
        QString paragraph = QString::fromUtf8(help);
        if (const QString options
            = optionsTaken(reading ? format.readOptions : format.writeOptions);
            !options.isEmpty())
            paragraph += QStringLiteral(" Options: %1.").arg(options);
        text += start + wrappedText(paragraph, HelpColumn, HelpWidth, int(start.size()));
    }
    return text;
}
