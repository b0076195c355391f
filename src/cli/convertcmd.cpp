// convert: the font in another program's format.
#include "cli/cli.h"
#include "cli/commandline.h"
#include "cli/fontinput.h"
#include "cli/formathelp.h"
#include "cli/options.h"
#include "core/modtools.h"
#include "formats/fontformats.h"
#include "formats/inkimage.h"

namespace {
constexpr OptionUse ConvertOptions[] = {
    {&Options::Output, "the file to write, '-' for standard output (then --to is needed)"},
    {&Options::To, nullptr},
    {&Options::Name, "the font's name in the output, where the format has one; by default the "
                     "font's file name"},
    {&Options::Scale, nullptr},
};

QString convertFormats()
{
    return formatList(false);
}

constexpr CommandSpec Convert {
    "convert",
    "FONT.pf -o OUT [--to FORMAT] [--name NAME] [--scale N]",
    "Writes the font in another format, told by OUT's extension unless --to names it. The same "
    "font always gives the same bytes. FONT.pf '-' reads the font from standard input.",
    ConvertOptions,
    1,
    1,
    "OUT",
    convertFormats};
} // namespace

int runConvert(const QStringList &arguments)
{
    CommandLine line(Convert);
    if (const std::optional<int> status = line.parse(arguments))
        return *status;

    const QString outPath = line.output();
    const FontFormat *format = nullptr;
    if (line.isSet(Options::To)) {
        format = formatNamed(line.value(Options::To));
        if (!format || !format->writes())
            return line.usageError(QStringLiteral("--to '%1': expects %2")
                                       .arg(line.value(Options::To), writerNames()));
    } else if (outPath == QLatin1String("-")) {
        return line.usageError(
            QStringLiteral("standard output has no extension to tell the format by; name it with "
                           "--to"));
    } else if (format = writerForFileName(outPath); !format) {
        return line.usageError(QStringLiteral("cannot tell the format from '%1'; use an extension "
                                              "of %2, or --to")
                                   .arg(outputName(outPath), writerNames()));
    }

    WriteOptions options;
    const QString fontPath = line.files().constFirst();
    options.fontFileName = fontPath == QLatin1String("-") ? QString() : FileNameOf(fontPath);
    const std::pair<const Option *, FormatOption> formatOptions[]
        = {{&Options::Scale, FormatOption::Scale}, {&Options::Name, FormatOption::Name}};
    for (const auto &[option, needs] : formatOptions) {
        if (!line.isSet(*option))
            continue;
        if (const QString error = optionMisfit(*option, needs, *format, true); !error.isEmpty())
            return line.usageError(error);
    }
    if (line.isSet(Options::Name))
        options.name = line.value(Options::Name);
    if (line.isSet(Options::Scale)) {
        const std::optional<qint64> scale = line.number(Options::Scale, 1, MaxScale);
        if (!scale)
            return ExitUsage;
        options.scale = static_cast<int>(*scale);
    }

    return readThenWrite(
        fontPath, outPath, readFontInput, [&](const FontInput &input) -> std::optional<QByteArray> {
            QByteArray bytes = format->write(input.font, options);
            if (bytes.isEmpty()) {
                printError(
                    QStringLiteral("%1: the output could not be made.").arg(outputName(outPath)));
                return std::nullopt;
            }
            return bytes;
        });
}
