// import: a .pf font from another program's font, a picture of one, or raw bytes.
#include "cli/cli.h"
#include "cli/commandline.h"
#include "cli/fontinput.h"
#include "cli/formathelp.h"
#include "cli/formatoptions.h"
#include "cli/options.h"
#include "formats/fontformats.h"
#include "formats/importreport.h"

namespace {
constexpr OptionUse ImportOptions[] = {
    {&Options::Output, "the font to write, '-' for standard output", "FONT.pf"},
    {&Options::From, nullptr},
    {&Options::Charset, "the character each code is: a font with a Unicode table or an encoding "
                        "gives each code the glyph of that character. Any single-byte set iconv "
                        "knows (cp437, cp850, koi8-r, iso8859-15; 'iconv -l' lists them); default "
                        "latin1 (ISO 8859-1)"},
    {&Options::ByPosition, nullptr},
    {&Options::Offset, nullptr},
    {&Options::First, nullptr},
    {&Options::Count, nullptr},
    {&Options::BitOrder, nullptr},
    {&Options::Layout, "the order of each glyph's bytes in raw bytes, an assembler table or the "
                       "text form, as they were written: rows (the default; bit 7 the leftmost "
                       "pixel), rows-lsb, columns (bit 0 the top pixel: SSD1306, PCD8544, KS0108) "
                       "or columns-msb"},
    {&Options::Width, "the glyphs were written N columns wide (1 to 8, default 8): they fill the "
                      "cell's N left columns"},
    {&Options::Ink, nullptr},
    {&Options::Size, nullptr},
};

constexpr Argument ImportArguments[] = {{"SOURCE"}};

QString importFormats()
{
    return formatList(FormatUse::Reading);
}

constexpr CommandSyntax Import {
    "import",
    "SOURCE -o FONT.pf [--from FORMAT] [--charset NAME]\n"
    "                              [--size N] [--offset N] ...",
    "Makes a .pf font from another program's font or a picture of one. The format is told from "
    "the content; --from names it instead. Says on standard error what it read, the character "
    "set it used, how many codes came through the font's table or encoding, by position or "
    "without a glyph, and which codes came out empty; writes nothing when the source holds no "
    "font that fits 8x8. SOURCE '-' reads standard input.\n\n"
    "A scalable font (TrueType, OpenType, Type 1) is drawn at the height --size gives, on one "
    "baseline for the whole font; the report names the characters clipped at the cell's edges "
    "and those the font lacks.",
    ImportOptions,
    ImportArguments,
    importFormats};

// Raw bytes need only the font's span; anything else is read whole.
std::optional<QByteArray> readSource(const QString &path, const FontFormat *format,
                                     const ReadOptions &options)
{
    return format && !format->compressible ? readInputStart(path, options.offset + FontFileSize)
                                           : readWholeInput(path, MaxSourceSize);
}

// The options that give what the reader's message asks for in the font's words.
QString remedyText(const ImportResult &result)
{
    using Remedy = ImportResult::Remedy;
    switch (result.remedy) {
    case Remedy::None:
        break;
    case Remedy::Size:
        return QStringLiteral("Give it with --size N.");
    case Remedy::ByPosition:
        return QStringLiteral("Give --by-position for that.");
    case Remedy::CharsetOrByPosition:
        return QStringLiteral("Give --charset NAME or --by-position.");
    case Remedy::LightInk:
        return QStringLiteral("--ink light reads its light pixels as ink.");
    case Remedy::DarkInk:
        return QStringLiteral("--ink dark reads its dark pixels as ink.");
    }
    return {};
}

// "SOURCE: read PSF 2, 8x8, 512 glyphs; charset latin1: ...; empty codes: none."
void reportImport(const QString &sourceName, const ImportResult &result)
{
    for (const QString &warning : result.warnings)
        printWarning(QStringLiteral("%1: %2").arg(sourceName, warning));
    if (const QString remedy = remedyText(result); !remedy.isEmpty())
        printWarning(QStringLiteral("%1: %2").arg(sourceName, remedy));
    printNote(QStringLiteral("%1: %2").arg(sourceName, importSummary(result)));
}
} // namespace

int runImport(const QStringList &arguments)
{
    CommandLine line(Import);
    if (const std::optional<int> status = line.parse(arguments))
        return *status;
    const FontFormat *format = readerGiven(line);
    const std::optional<ReadOptions> options = readOptionsGiven(line, format);
    if (!options)
        return ExitUsage;

    const QString source = line.argument(0);
    const QString sourceName = inputName(source);
    int status = ExitFailure;
    const int written = readThenWrite(
        source, outputGiven(line),
        [&](const QString &path) { return readSource(path, format, *options); },
        [&](const QByteArray &bytes) -> std::optional<QByteArray> {
            const ImportResult result = readFont(bytes, format, *options);
            if (!result.ok()) {
                const QString remedy = result.unrecognised
                                           ? QStringLiteral("For a ROM dump or other raw bytes, "
                                                            "use --from raw.")
                                           : remedyText(result);
                printError(QStringLiteral("%1: %2%3%4")
                               .arg(sourceName, result.error,
                                    remedy.isEmpty() ? QString() : QStringLiteral(" "), remedy));
                return std::nullopt;
            }
            // An option that the format told from the content does not take is a usage error
            // too, found only once the source is read.
            if (const QString error = formatOptionMisfit(line, *result.format, FormatUse::Reading);
                !error.isEmpty()) {
                status = line.usageError(
                    QStringLiteral("%1 is %2: %3").arg(sourceName, result.description, error));
                return std::nullopt;
            }
            reportImport(sourceName, result);
            return fontFileBytes(result.font);
        });
    return written == ExitFailure ? status : written;
}
