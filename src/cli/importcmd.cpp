// import: a .pf font from another program's font, a picture of one, or raw bytes.
#include "cli/cli.h"
#include "cli/commandline.h"
#include "cli/fontinput.h"
#include "cli/formathelp.h"
#include "cli/options.h"
#include "formats/fontformats.h"

namespace {
// Options of import alone. --flip is the bit order of raw rows, unrelated to turning glyphs over.
constexpr Option ByPosition {"by-position", 0, nullptr,
                             "take a console font's first 256 glyphs in order, not through its "
                             "Unicode table"};
constexpr Option First {"first", 0, "CODE",
                        "the code of the first glyph in raw bytes, 0 to 255 (default 0; implies "
                        "--from raw)"};
constexpr Option Count {"count", 0, "N",
                        "how many glyphs to take from raw bytes (default as many as the data "
                        "holds, up to code 255; implies --from raw)"};
constexpr Option FlipBits {"flip", 0, nullptr,
                           "raw rows have bit 0 as the leftmost pixel, not bit 7 (implies --from "
                           "raw)"};
constexpr Option Ink {"ink", 0, "dark|light",
                      "which pixels of a sheet are ink: dark ones on light paper (the default) "
                      "or light ones on dark"};

constexpr OptionUse ImportOptions[] = {
    {&Options::Output, "the font to write, '-' for standard output"},
    {&Options::From, nullptr},
    {&Options::Charset, "the character each code is: a font with a Unicode table or an encoding "
                        "gives each code the glyph of that character. Any single-byte set iconv "
                        "knows (cp437, cp850, koi8-r, iso8859-15; 'iconv -l' lists them); default "
                        "latin1 (ISO 8859-1)"},
    {&ByPosition, nullptr},
    {&Options::Offset, nullptr},
    {&First, nullptr},
    {&Count, nullptr},
    {&FlipBits, nullptr},
    {&Ink, nullptr},
};

// Which reader option each command-line option is, and whether it means raw bytes.
struct ReaderOption
{
    const Option *option;
    FormatOption needs;
    bool meansRaw;
};
constexpr ReaderOption ReaderOptions[] = {
    {&Options::Offset, FormatOption::Offset, true},
    {&First, FormatOption::RawSpan, true},
    {&Count, FormatOption::RawSpan, true},
    {&FlipBits, FormatOption::BitOrder, true},
    {&Options::Charset, FormatOption::Charset, false},
    {&ByPosition, FormatOption::ByPosition, false},
    {&Ink, FormatOption::Ink, false},
};

// Why an option given does not fit the format, or an empty text.
QString misfitFor(const CommandLine &line, const FontFormat &format)
{
    for (const ReaderOption &use : ReaderOptions) {
        if (!line.isSet(*use.option))
            continue;
        if (const QString error = optionMisfit(*use.option, use.needs, format, false);
            !error.isEmpty())
            return error;
    }
    return {};
}

QString importFormats()
{
    return formatList(true);
}

constexpr CommandSyntax Import {
    "import",
    "SOURCE -o FONT.pf [--from FORMAT] [--charset NAME] [--offset N] [--first CODE] "
    "[--count N] ...",
    "Makes a .pf font from another program's font or a picture of one. The format is told from "
    "the content; --from names it instead. Says on standard error what it read, the character "
    "set it used, how many codes came through the font's table or encoding, by position or "
    "without a glyph, and which codes came out empty; writes nothing when the source holds no "
    "font that fits 8x8. SOURCE '-' reads standard input.",
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
    // Offsets, codes, counts and bit orders only mean something for raw bytes, so they choose raw
    // unless told otherwise.
    for (const ReaderOption &use : ReaderOptions) {
        if (use.meansRaw && line.isSet(*use.option) && !format)
            format = formatNamed(u"raw");
    }
    if (format) {
        if (const QString error = misfitFor(line, *format); !error.isEmpty())
            return line.usageError(error);
    }
    if (line.isSet(Options::Charset) && line.isSet(ByPosition))
        return line.usageError(QStringLiteral("--by-position takes glyphs in order, so --charset "
                                              "has nothing to choose; give one of them"));

    ReadOptions options;
    if (line.isSet(Options::Offset)) {
        const std::optional<qint64> offset = line.number(Options::Offset, 0, MaxSourceSize);
        if (!offset)
            return ExitUsage;
        options.offset = *offset;
    }
    if (line.isSet(First)) {
        const std::optional<qint64> first = line.number(First, 0, CharacterCount - 1);
        if (!first)
            return ExitUsage;
        options.first = static_cast<int>(*first);
    }
    if (line.isSet(Count)) {
        const std::optional<qint64> count = line.number(Count, 1, CharacterCount);
        if (!count)
            return ExitUsage;
        if (options.first + *count > CharacterCount)
            return line.usageError(QStringLiteral("--first %1 and --count %2 reach code %3; codes "
                                                  "end at 255")
                                       .arg(options.first)
                                       .arg(*count)
                                       .arg(options.first + *count - 1));
        options.count = static_cast<int>(*count);
    }
    if (line.isSet(FlipBits))
        options.layout.order = ByteOrder::RowsLsb;
    options.byPosition = line.isSet(ByPosition);
    if (line.isSet(Ink)) {
        const QString ink = line.value(Ink);
        if (ink != QLatin1String("dark") && ink != QLatin1String("light"))
            return line.usageError(QStringLiteral("--ink '%1': expects dark or light").arg(ink));
        options.ink = ink == QLatin1String("light") ? InkRule::Light : InkRule::Dark;
    }
    const std::optional<CharacterSet> charset = characterSetOption(line);
    if (!charset)
        return ExitUsage;
    options.charset = *charset;

    const QString source = line.files().constFirst();
    const auto read = [format, &options](const QString &path) {
        // Raw bytes need only the font's span; anything else is read whole.
        return format && !format->compressible ? readInputStart(path, options.offset + FontFileSize)
                                               : readWholeInput(path, MaxSourceSize);
    };
    // An option that the format told from the content does not take is a usage error too, found
    // only once the source is read.
    int status = ExitFailure;
    const int written = readThenWrite(
        source, line.output(), read, [&](const QByteArray &bytes) -> std::optional<QByteArray> {
            const QString sourceName = inputName(source);
            const ImportResult result = readFont(bytes, format, options);
            if (!result.ok()) {
                printError(QStringLiteral("%1: %2").arg(sourceName, result.error));
                return std::nullopt;
            }
            if (const QString error = format ? QString() : misfitFor(line, *result.format);
                !error.isEmpty()) {
                status = line.usageError(
                    QStringLiteral("%1 is %2: %3").arg(sourceName, result.description, error));
                return std::nullopt;
            }
            for (const QString &warning : result.warnings)
                printWarning(QStringLiteral("%1: %2").arg(sourceName, warning));
            const QString sources = codeSourcesText(result);
            const QString empty = emptyCodesText(result.font);
            printNote(QStringLiteral("%1: read %2; %3%4empty codes: %5.")
                          .arg(sourceName, result.description, sources,
                               sources.isEmpty() ? QString() : QStringLiteral("; "),
                               empty.isEmpty() ? QStringLiteral("none") : empty));
            return fontFileBytes(result.font);
        });
    return written == ExitFailure ? status : written;
}
