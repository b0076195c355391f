// convert: the font in another program's format.
#include "cli/cli.h"
#include "cli/commandline.h"
#include "cli/fontinput.h"
#include "cli/formathelp.h"
#include "cli/formatoptions.h"
#include "cli/options.h"
#include "core/filename.h"
#include "core/modtools.h"
#include "formats/fontformats.h"
#include "formats/fontoutput.h"

namespace {
constexpr OptionUse ConvertOptions[] = {
    {&Options::Output, "the file to write, '-' for standard output (then --to is needed)", "OUT"},
    {&Options::To, nullptr},
    {&Options::Name, "the font's name in the output, where the format has one; by default the "
                     "font's file name"},
    {&Options::Scale, nullptr},
    {&Options::Codes,
     "write only the characters FIRST to LAST (decimal or 0x hex, inclusive), each "
     "at its own code; for the formats that can hold fewer than 256"},
    {&Options::Target, "for asm: the PIC family the table is for, pic18 (db, the default) or pic16 "
                       "(dt: one retlw per byte, for 12- and 14-bit cores)"},
    {&Options::Syntax, "for asm: the assembler the table is for, mpasm (gpasm's syntax, the "
                       "default) or pic-as (the MPLAB XC8 PIC Assembler)"},
    {&Options::Layout, nullptr},
    {&Options::Width, nullptr},
    {&Options::Storage, nullptr},
    {&Options::Charset, "the character each code is, written into the PSF's Unicode table or as "
                        "the BDF's encoding: any single-byte set iconv knows (cp437, cp850, "
                        "koi8-r, iso8859-15; 'iconv -l' lists them); default latin1 (ISO 8859-1)"},
};

QString convertFormats()
{
    return formatList(FormatUse::Writing);
}

constexpr Argument ConvertArguments[] = {{"FONT.pf"}};

constexpr CommandSyntax Convert {
    "convert",
    "FONT.pf -o OUT [--to FORMAT] [--name NAME] [--scale N] [--charset NAME]\n"
    "                                [--codes FIRST-LAST] [--target pic18|pic16]\n"
    "                                [--layout ORDER] [--width N] [--storage CLASS]",
    "Writes the font in another format, told by OUT's extension unless --to names it. The same "
    "font always gives the same bytes. FONT.pf '-' reads the font from standard input.",
    ConvertOptions,
    ConvertArguments,
    convertFormats};
// The format --to names, or the one -o's extension tells; null after a usage error.
const FontFormat *writerGiven(const CommandLine &line, const QString &outPath)
{
    if (const FontFormat *format = formatGiven(line, Options::To))
        return format;
    if (outPath == QLatin1String("-")) {
        line.usageError(QStringLiteral("standard output has no extension to tell the format by; "
                                       "name it with --to"));
        return nullptr;
    }
    const FontFormat *format = writerForFileName(outPath);
    if (!format)
        line.usageError(QStringLiteral("cannot tell the format from '%1'; use an extension of %2, "
                                       "or --to")
                            .arg(outputName(outPath), writerNames()));
    return format;
}

// The files the format writes: -o's, or for a format of two files both, beside each other,
// whichever of them -o names, the first one's name in the options for the second to include;
// nothing after a usage error.
std::optional<QStringList> outputsGiven(const CommandLine &line, const FontFormat &format,
                                        const QString &outPath, WriteOptions &options)
{
    if (!format.writeSecond)
        return QStringList {outPath};
    const QString pair = QStringLiteral("the %1 output is two files, FILE.%2 and FILE.%3")
                             .arg(QLatin1String(format.name),
                                  QString::fromLatin1(format.suffixes).section(u' ', 0, 0),
                                  QLatin1String(format.secondSuffix));
    if (outPath == QLatin1String("-")) {
        line.usageError(pair + QStringLiteral(", not standard output; name either with -o"));
        return std::nullopt;
    }
    const QStringList outPaths = pairedFileNames(format, outPath);
    if (outPaths.isEmpty()) {
        line.usageError(QStringLiteral("-o '%1': %2; name either").arg(outputName(outPath), pair));
        return std::nullopt;
    }
    options.firstFileName = FileNameOf(outPaths.first());
    // The second file names the first in a quoted #include.
    if (!nameableInInclude(options.firstFileName)) {
        line.usageError(QStringLiteral("'%1' cannot be named in an #include; choose a file name "
                                       "without quotes, backslashes or control characters")
                            .arg(printableFileName(options.firstFileName)));
        return std::nullopt;
    }
    return outPaths;
}

// The bytes of each file the format writes; nothing, having said which, when one could not be
// made.
std::optional<QList<QByteArray>> formatOutputs(const FontFormat &format, const FontImage &font,
                                               const WriteOptions &options,
                                               const QStringList &outPaths)
{
    QList<QByteArray> contents {format.write(font, options)};
    if (format.writeSecond)
        contents.append(format.writeSecond(font, options));
    for (qsizetype i = 0; i < contents.size(); ++i) {
        if (contents[i].isEmpty()) {
            printError(
                QStringLiteral("%1: the output could not be made.").arg(outputName(outPaths[i])));
            return std::nullopt;
        }
    }
    return contents;
}
} // namespace

int runConvert(const QStringList &arguments)
{
    CommandLine line(Convert);
    if (const std::optional<int> status = line.parse(arguments))
        return *status;
    const QString outPath = outputGiven(line);
    const FontFormat *format = writerGiven(line, outPath);
    if (!format)
        return ExitUsage;
    const QString fontPath = line.argument(0);
    std::optional<WriteOptions> options = writeOptionsGiven(line, *format, fontPath);
    if (!options)
        return ExitUsage;
    const std::optional<QStringList> outPaths = outputsGiven(line, *format, outPath, *options);
    if (!outPaths)
        return ExitUsage;
    return readThenWriteAll(fontPath, *outPaths, readFontInput, [&](const FontInput &input) {
        return formatOutputs(*format, input.font, *options, *outPaths);
    });
}
