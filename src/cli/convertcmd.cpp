// convert: the font in another program's format.
#include "cli/cli.h"
#include "cli/commandline.h"
#include "cli/fontinput.h"
#include "cli/formathelp.h"
#include "cli/options.h"
#include "formats/fontformats.h"

namespace {
constexpr OptionUse ConvertOptions[] = {
    {&Options::Output, "the file to write, '-' for standard output (then --to is needed)"},
    {&Options::To, nullptr},
    {&Options::Name, "the font's name in the output, where the format has one; by default the "
                     "font's file name"},
    {&Options::Scale, nullptr},
    {&Options::Codes,
     "write only the characters FIRST to LAST (decimal or 0x hex, inclusive), each "
     "at its own code; for the formats that can hold fewer than 256"},
    {&Options::Target, "for asm: the PIC family the table is for, pic18 (db, the default) or pic16 "
                       "(dt: one retlw per byte, for 12- and 14-bit cores)"},
};

QString convertFormats()
{
    return formatList(false);
}

constexpr CommandSpec Convert {
    "convert",
    "FONT.pf -o OUT [--to FORMAT] [--name NAME] [--scale N] [--codes FIRST-LAST] [--target T]",
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

    const QString fontPath = line.files().constFirst();
    const std::optional<WriteOptions> options = writeOptionsGiven(line, *format, fontPath);
    if (!options)
        return ExitUsage;

    return readThenWrite(
        fontPath, outPath, readFontInput, [&](const FontInput &input) -> std::optional<QByteArray> {
            QByteArray bytes = format->write(input.font, *options);
            if (bytes.isEmpty()) {
                printError(
                    QStringLiteral("%1: the output could not be made.").arg(outputName(outPath)));
                return std::nullopt;
            }
            return bytes;
        });
}
