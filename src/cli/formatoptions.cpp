#include "cli/formatoptions.h"

#include "cli/cli.h"
#include "cli/fontinput.h"
#include "cli/options.h"
#include "core/filename.h"
#include "core/modtools.h"

namespace {
constexpr FormatOptionUse Uses[] = {
    {&Options::Offset, FormatOption::Offset, true},
    {&Options::First, FormatOption::RawSpan, true},
    {&Options::Count, FormatOption::RawSpan, true},
    {&Options::BitOrder, FormatOption::BitOrder, true},
    {&Options::Charset, FormatOption::Charset},
    {&Options::ByPosition, FormatOption::ByPosition},
    {&Options::Ink, FormatOption::Ink},
    {&Options::Size, FormatOption::PixelSize},
    {&Options::Name, FormatOption::Name},
    {&Options::Scale, FormatOption::Scale},
    {&Options::Codes, FormatOption::Codes},
    {&Options::Target, FormatOption::Target},
    {&Options::Syntax, FormatOption::Syntax},
    {&Options::Layout, FormatOption::Layout},
    {&Options::Width, FormatOption::Layout},
    {&Options::Storage, FormatOption::Storage},
};

// A usage error when an option given does not fit the format; false after it.
bool fitsFormat(const CommandLine &line, const FontFormat &format, FormatUse use)
{
    const QString error = formatOptionMisfit(line, format, use);
    if (!error.isEmpty())
        line.usageError(error);
    return error.isEmpty();
}
} // namespace

std::span<const FormatOptionUse> formatOptionUses()
{
    return Uses;
}

QString formatOptionMisfit(const CommandLine &line, const FontFormat &format, FormatUse use)
{
    const bool writing = use == FormatUse::Writing;
    const FormatOptions taken = writing ? format.writeOptions : format.readOptions;
    for (const FormatOptionUse &row : Uses) {
        if (!line.isSet(*row.option) || taken.testFlag(row.sets))
            continue;
        return QStringLiteral("--%1 applies to %2%3 only")
            .arg(QLatin1String(row.option->longName),
                 writing ? QString() : QStringLiteral("--from "), namesTaking(row.sets, writing));
    }
    return {};
}

const FontFormat *formatGiven(const CommandLine &line, const Option &option)
{
    // The values of these options are the formats' indexes in their table.
    return line.isSet(option) ? &fontFormats()[size_t(line.number(option, 0))] : nullptr;
}

const FontFormat *readerGiven(const CommandLine &line)
{
    if (const FontFormat *format = formatGiven(line, Options::From))
        return format;
    // Offsets, codes, counts and bit orders only mean something for raw bytes, so they choose raw
    // unless told otherwise.
    for (const FormatOptionUse &row : Uses) {
        if (row.choosesRaw && line.isSet(*row.option))
            return formatNamed(u"raw");
    }
    return nullptr;
}

std::optional<ReadOptions> readOptionsGiven(const CommandLine &line, const FontFormat *format)
{
    if (format && !fitsFormat(line, *format, FormatUse::Reading))
        return std::nullopt;
    if (line.isSet(Options::Charset) && line.isSet(Options::ByPosition)) {
        line.usageError(QStringLiteral("--by-position takes glyphs in order, so --charset has "
                                       "nothing to choose; give one of them"));
        return std::nullopt;
    }
    ReadOptions options;
    options.offset = line.number(Options::Offset, 0);
    options.first = int(line.number(Options::First, 0));
    if (line.isSet(Options::Count)) {
        const qint64 count = line.number(Options::Count, CharacterCount);
        if (options.first + count > CharacterCount) {
            line.usageError(
                QStringLiteral("--first %1 and --count %2 reach code %3; codes end at 255")
                    .arg(options.first)
                    .arg(count)
                    .arg(options.first + count - 1));
            return std::nullopt;
        }
        options.count = int(count);
    }
    const std::optional<GlyphLayout> layout = layoutGiven(line);
    if (!layout)
        return std::nullopt;
    options.layout = *layout;
    options.byPosition = line.isSet(Options::ByPosition);
    options.ink = line.choice(Options::Ink, InkRule::Dark);
    if (line.isSet(Options::Size))
        options.pixelSize = int(line.number(Options::Size, 0));
    const std::optional<CharacterSet> charset = characterSetGiven(line);
    if (!charset)
        return std::nullopt;
    options.charset = *charset;
    return options;
}

std::optional<WriteOptions> writeOptionsGiven(const CommandLine &line, const FontFormat &format,
                                              const QString &fontPath)
{
    if (!fitsFormat(line, format, FormatUse::Writing))
        return std::nullopt;
    WriteOptions options;
    // The editor names the font by the file name part of the path it opened; standard input has
    // none.
    options.fontFileName = fontPath == QLatin1String("-") ? QString() : FileNameOf(fontPath);
    if (line.isSet(Options::Name))
        options.name = line.value(Options::Name);
    options.scale = int(line.number(Options::Scale, 1));
    options.target = line.choice(Options::Target, PicTarget::Pic18);
    const std::optional<GlyphLayout> layout = layoutGiven(line);
    if (!layout)
        return std::nullopt;
    options.layout = *layout;
    options.storage = line.choice(Options::Storage, CStorage::Const);
    options.syntax = line.choice(Options::Syntax, AsmSyntax::Mpasm);
    const std::optional<CodeRange> codes = codesGiven(line);
    if (!codes)
        return std::nullopt;
    options.codes = *codes;
    const std::optional<CharacterSet> charset = characterSetGiven(line);
    if (!charset)
        return std::nullopt;
    options.charset = *charset;
    return options;
}

std::optional<GlyphLayout> layoutGiven(const CommandLine &line)
{
    GlyphLayout layout {line.choice(Options::Layout, ByteOrder::Rows),
                        int(line.number(Options::Width, GlyphSize))};
    // --flip is the older name of rows-lsb, which raw import still takes.
    if (line.isSet(Options::BitOrder)) {
        if (line.isSet(Options::Layout) && layout.order != ByteOrder::RowsLsb) {
            line.usageError(QStringLiteral("--flip means --layout rows-lsb, not %1; give one of "
                                           "them")
                                .arg(byteOrderName(layout.order)));
            return std::nullopt;
        }
        layout.order = ByteOrder::RowsLsb;
    }
    return layout;
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

std::optional<CharacterSet> characterSetGiven(const CommandLine &line)
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

QString outputGiven(const CommandLine &line)
{
    return line.value(Options::Output, QStringLiteral("-"));
}

int writeFontAs(const CommandLine &line, const FontFormat &format)
{
    const QString fontPath = line.argument(0);
    const std::optional<WriteOptions> options = writeOptionsGiven(line, format, fontPath);
    if (!options)
        return ExitUsage;
    return readThenWrite(fontPath, outputGiven(line), readFontInput,
                         [&](const FontInput &input) -> std::optional<QByteArray> {
                             return format.write(input.font, *options);
                         });
}
