#include "cli/formatoptions.h"

#include "cli/cli.h"
#include "cli/formats/inkimage.h"

std::optional<qint64> numberOption(const QString &command, const QString &option,
                                   const QString &text, qint64 first, qint64 last)
{
    bool ok = false;
    const bool hex = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    const qint64 value = hex ? text.mid(2).toLongLong(&ok, 16) : text.toLongLong(&ok, 10);
    if (!ok || value < first || value > last) {
        printError(QStringLiteral("%1: %2 '%3': expects a whole number from %4 to %5.")
                       .arg(command, option, text, QString::number(first), QString::number(last)));
        return std::nullopt;
    }
    return value;
}

std::optional<int> scaleOption(const QString &command, const QCommandLineParser &parser,
                               const QCommandLineOption &scale)
{
    if (!parser.isSet(scale))
        return 1;
    const std::optional<qint64> value
        = numberOption(command, QStringLiteral("--scale"), parser.value(scale), 1, MaxScale);
    if (!value)
        return std::nullopt;
    return static_cast<int>(*value);
}
