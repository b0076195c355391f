#include "cli/cli.h"
#include "cli/fontinput.h"
#include "cli/formatoptions.h"
#include "cli/formats/detect.h"
#include "cli/formats/importresult.h"

#include <QCommandLineParser>

namespace {
constexpr CommandUsage Usage {
    "import",
    "Usage: glyphwright-cli import SOURCE -o FONT.pf [--from raw|psf|bdf|image] [--offset N]\n"
    "\n"
    "Makes a .pf font from another program's font or a picture of one. The format is told from\n"
    "the content; --from names it instead. Says on standard error what it read and which codes\n"
    "came out empty; writes nothing when the source holds no 8x8 font. SOURCE '-' reads\n"
    "standard input.\n"
    "\n"
    "  raw    2,048 bytes at --offset (default 0, decimal or 0x hex) of any file: a ROM dump\n"
    "  psf    Linux console fonts, PSF 1 or 2, plain or gzip-compressed: 8x8 glyphs, the first\n"
    "         256 by position\n"
    "  bdf    BDF, PCF or Windows FON/FNT bitmap fonts up to 8x8, through FreeType: codes 0 to\n"
    "         255, placed in the cell by the font's ascent\n"
    "  image  PNG or BMP sheets of 8x8 cells, 16 x 16 cells (128 x 128 pixels) or 32 x 8 (256 x\n"
    "         64), or a whole multiple of either; dark, opaque pixels are ink\n"
    "\n"
    "  -o FILE   the font to write, '-' for standard output\n"
    "  -h, --help\n"
    "\n"
    "Exit status: 0 written, 1 the source could not be read or holds no 8x8 font, 2 usage.\n",
    1, 1, "FONT.pf"};
} // namespace

int runImport(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption output(QStringLiteral("o"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption from(QStringLiteral("from"), QString(), QStringLiteral("FORMAT"));
    const QCommandLineOption offsetOption(QStringLiteral("offset"), QString(), QStringLiteral("N"));
    parser.addOptions({output, from, offsetOption});
    if (const std::optional<int> status = parseCommandLine(parser, arguments, Usage))
        return *status;

    SourceFormat format = SourceFormat::Detect;
    if (parser.isSet(from) && !sourceFormatFromName(parser.value(from), format)) {
        printError(QStringLiteral("import: --from '%1': expects raw, psf, bdf or image.")
                       .arg(parser.value(from)));
        return ExitUsage;
    }
    qint64 offset = 0;
    if (parser.isSet(offsetOption)) {
        // An offset only means something for raw bytes, so it chooses raw unless told otherwise.
        if (format == SourceFormat::Detect)
            format = SourceFormat::Raw;
        if (format != SourceFormat::Raw) {
            printError(QStringLiteral("import: --offset applies to --from raw only."));
            return ExitUsage;
        }
        const auto value = numberOption(QStringLiteral("import"), QStringLiteral("--offset"),
                                        parser.value(offsetOption), 0, MaxSourceSize);
        if (!value)
            return ExitUsage;
        offset = *value;
    }

    const QString source = parser.positionalArguments().constFirst();
    const QString outPath = parser.value(output);
    if (outputReplacesInput(outPath, source))
        return ExitFailure;
    // Raw bytes need only the font's span; anything else is read whole.
    const std::optional<QByteArray> bytes = format == SourceFormat::Raw
                                                ? readInputStart(source, offset + FontFileSize)
                                                : readWholeInput(source, MaxSourceSize);
    if (!bytes)
        return ExitFailure;
    const QString sourceName = inputName(source);
    const ImportResult result = importFont(*bytes, format, offset);
    if (!result.ok()) {
        printError(QStringLiteral("%1: %2").arg(sourceName, result.error));
        return ExitFailure;
    }
    for (const QString &warning : result.warnings)
        printWarning(QStringLiteral("%1: %2").arg(sourceName, warning));
    const QString empty = emptyCodesText(result.font);
    printNote(
        QStringLiteral("%1: read %2; empty codes: %3.")
            .arg(sourceName, result.description, empty.isEmpty() ? QStringLiteral("none") : empty));
    return writeOutput(outPath, fontFileBytes(result.font)) ? ExitOk : ExitFailure;
}
