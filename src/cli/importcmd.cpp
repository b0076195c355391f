// import: a .pf font from another program's font, a picture of one, or raw bytes.
#include "cli/cli.h"
#include "cli/commandline.h"
#include "cli/fontinput.h"
#include "cli/formathelp.h"
#include "cli/options.h"
#include "formats/fontformats.h"

namespace {
constexpr OptionUse ImportOptions[] = {
    {&Options::Output, "the font to write, '-' for standard output"},
    {&Options::From, nullptr},
    {&Options::Offset, nullptr},
};

QString importFormats()
{
    return formatList(true);
}

constexpr CommandSpec Import {
    "import",
    "SOURCE -o FONT.pf [--from FORMAT] [--offset N]",
    "Makes a .pf font from another program's font or a picture of one. The format is told from "
    "the content; --from names it instead. Says on standard error what it read and which codes "
    "came out empty; writes nothing when the source holds no 8x8 font. SOURCE '-' reads standard "
    "input.",
    ImportOptions,
    1,
    1,
    "FONT.pf",
    importFormats};
} // namespace

int runImport(const QStringList &arguments)
{
    CommandLine line(Import);
    if (const std::optional<int> status = line.parse(arguments))
        return *status;

    const FontFormat *format = nullptr;
    if (line.isSet(Options::From)) {
        format = formatNamed(line.value(Options::From));
        if (!format || !format->reads())
            return line.usageError(QStringLiteral("--from '%1': expects %2")
                                       .arg(line.value(Options::From), readerNames()));
    }
    ReadOptions options;
    if (line.isSet(Options::Offset)) {
        // An offset only means something for raw bytes, so it chooses raw unless told otherwise.
        if (!format)
            format = formatNamed(u"raw");
        if (const QString error
            = optionMisfit(Options::Offset, FormatOption::Offset, *format, false);
            !error.isEmpty())
            return line.usageError(error);
        const std::optional<qint64> offset = line.number(Options::Offset, 0, MaxSourceSize);
        if (!offset)
            return ExitUsage;
        options.offset = *offset;
    }

    const QString source = line.files().constFirst();
    const auto read = [format, &options](const QString &path) {
        // Raw bytes need only the font's span; anything else is read whole.
        return format && !format->compressible ? readInputStart(path, options.offset + FontFileSize)
                                               : readWholeInput(path, MaxSourceSize);
    };
    return readThenWrite(source, line.output(), read,
                         [&](const QByteArray &bytes) -> std::optional<QByteArray> {
                             const QString sourceName = inputName(source);
                             const ImportResult result = readFont(bytes, format, options);
                             if (!result.ok()) {
                                 printError(QStringLiteral("%1: %2").arg(sourceName, result.error));
                                 return std::nullopt;
                             }
                             for (const QString &warning : result.warnings)
                                 printWarning(QStringLiteral("%1: %2").arg(sourceName, warning));
                             const QString empty = emptyCodesText(result.font);
                             printNote(QStringLiteral("%1: read %2; empty codes: %3.")
                                           .arg(sourceName, result.description,
                                                empty.isEmpty() ? QStringLiteral("none") : empty));
                             return fontFileBytes(result.font);
                         });
}
