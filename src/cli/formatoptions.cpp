#include "cli/formatoptions.h"

#include "cli/cli.h"
#include "cli/formats/inkimage.h"
#include "core/fileio.h"

#include <QDir>

std::optional<int> parseCommandLine(QCommandLineParser &parser, const QStringList &arguments,
                                    const QString &commandName, qsizetype positionalCount,
                                    const QString &help)
{
    const QCommandLineOption helpOption(QStringList {QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(helpOption);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // QCommandLineParser skips the first argument as the program's name.
    if (!parser.parse(QStringList {commandName} + arguments)) {
        QString reason = parser.errorText();
        if (reason.endsWith(QLatin1Char('.')))
            reason.chop(1);
        printError(
            QStringLiteral("%1: %2; see 'glyphwright-cli %1 --help'.").arg(commandName, reason));
        return ExitUsage;
    }
    if (parser.isSet(helpOption)) {
        printOut(help);
        return ExitOk;
    }
    if (parser.positionalArguments().size() != positionalCount) {
        printError(QStringLiteral("%1: expects %2 argument(s), got %3; see 'glyphwright-cli %1 "
                                  "--help'.")
                       .arg(commandName)
                       .arg(positionalCount)
                       .arg(parser.positionalArguments().size()));
        return ExitUsage;
    }
    if (!parser.isSet(QStringLiteral("o"))) {
        printError(QStringLiteral("%1: no output file; name one with -o FILE (or -o - for "
                                  "standard output).")
                       .arg(commandName));
        return ExitUsage;
    }
    return std::nullopt;
}

std::optional<qint64> numberOption(const QString &option, const QString &text, qint64 first,
                                   qint64 last)
{
    bool ok = false;
    const bool hex = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    const qint64 value = hex ? text.mid(2).toLongLong(&ok, 16) : text.toLongLong(&ok, 10);
    if (!ok || value < first || value > last) {
        printError(QStringLiteral("%1 '%2': expects a whole number from %3 to %4.")
                       .arg(option, text)
                       .arg(first)
                       .arg(last));
        return std::nullopt;
    }
    return value;
}

std::optional<int> scaleOption(const QCommandLineParser &parser, const QCommandLineOption &scale)
{
    if (!parser.isSet(scale))
        return 1;
    const std::optional<qint64> value
        = numberOption(QStringLiteral("--scale"), parser.value(scale), 1, MaxScale);
    if (!value)
        return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<FontImage> readFontFile(const QString &path)
{
    const ReadResult read = readFileStart(path, FontFileSize + 1);
    if (!read.error.isEmpty()) {
        printError(QStringLiteral("%1: cannot read: %2").arg(shownPath(path), read.error));
        return std::nullopt;
    }
    if (read.bytes.size() != FontFileSize)
        printWarning(QStringLiteral("%1: %2 bytes, not a 2,048-byte font; %3.")
                         .arg(shownPath(path),
                              read.bytes.size() > FontFileSize ? QStringLiteral("more than 2,048")
                                                               : QString::number(read.bytes.size()),
                              read.bytes.size() > FontFileSize
                                  ? QStringLiteral("bytes past 2,048 are ignored")
                                  : QStringLiteral("the missing bytes read as blank rows")));
    return fontImageFromBytes(read.bytes);
}

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}
