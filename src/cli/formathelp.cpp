#include "cli/formathelp.h"

#include "cli/cli.h"
#include "cli/fontinput.h"
#include "cli/options.h"
#include "core/filename.h"
#include "core/modtools.h"
#include "formats/inkimage.h"

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

std::optional<CodeRange> codesGiven(const CommandLine &line)
{
    if (!line.isSet(Options::Codes))
        return CodeRange {};
    const QString text = line.value(Options::Codes);
    const CodeRangeParse parsed = parseCodeRange(text);
    if (!parsed.range) {
        line.usageError(
            QStringLiteral("--codes '%1': %2").arg(printableFileName(text), parsed.error));
        return std::nullopt;
    }
    return parsed.range;
}

std::optional<PicTarget> targetGiven(const CommandLine &line)
{
    if (!line.isSet(Options::Target))
        return PicTarget::Pic18;
    const QString text = line.value(Options::Target);
    const std::optional<PicTarget> target = picTargetNamed(text);
    if (!target)
        line.usageError(
            QStringLiteral("--target '%1': expects pic18 or pic16").arg(printableFileName(text)));
    return target;
}

std::optional<WriteOptions> writeOptionsGiven(const CommandLine &line, const FontFormat &format,
                                              const QString &fontPath)
{
    const std::pair<const Option *, FormatOption> formatOptions[]
        = {{&Options::Scale, FormatOption::Scale},
           {&Options::Name, FormatOption::Name},
           {&Options::Codes, FormatOption::Codes},
           {&Options::Target, FormatOption::Target},
           {&Options::Charset, FormatOption::Charset}};
    for (const auto &[option, needs] : formatOptions) {
        if (!line.isSet(*option))
            continue;
        if (const QString error = optionMisfit(*option, needs, format, true); !error.isEmpty()) {
            line.usageError(error);
            return std::nullopt;
        }
    }
    WriteOptions options;
    // The editor names the font by the file name part of the path it opened; standard input has
    // none.
    options.fontFileName = fontPath == QLatin1String("-") ? QString() : FileNameOf(fontPath);
    if (line.isSet(Options::Name))
        options.name = line.value(Options::Name);
    if (line.isSet(Options::Scale)) {
        const std::optional<qint64> scale = line.number(Options::Scale, 1, MaxScale);
        if (!scale)
            return std::nullopt;
        options.scale = static_cast<int>(*scale);
    }
    const std::optional<CodeRange> codes = codesGiven(line);
    if (!codes)
        return std::nullopt;
    const std::optional<PicTarget> target = targetGiven(line);
    if (!target)
        return std::nullopt;
    const std::optional<CharacterSet> charset = characterSetOption(line);
    if (!charset)
        return std::nullopt;
    options.codes = *codes;
    options.target = *target;
    options.charset = *charset;
    return options;
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

int writeFontAs(const CommandLine &line, const FontFormat &format)
{
    const QString fontPath = line.files().constFirst();
    const std::optional<WriteOptions> options = writeOptionsGiven(line, format, fontPath);
    if (!options)
        return ExitUsage;
    return readThenWrite(fontPath, line.output(), readFontInput,
                         [&](const FontInput &input) -> std::optional<QByteArray> {
                             return format.write(input.font, *options);
                         });
}
