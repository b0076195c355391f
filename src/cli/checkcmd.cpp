// check: proves that an assembler source holds exactly the font, line by line and, with
// --assemble, as the memory the assembler makes of it.
#include "cli/cli.h"
#include "cli/commandline.h"
#include "cli/fontinput.h"
#include "cli/formatoptions.h"
#include "cli/glyphcomparison.h"
#include "cli/options.h"
#include "core/filename.h"
#include "formats/asmread.h"
#include "formats/picmemory.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {
// An export is 16,652 bytes plus its name; anything this big is not one.
constexpr qsizetype MaxSourceBytes = 4 * 1024 * 1024;
constexpr int AssemblerTimeoutMs = 60000;
constexpr char Assembler[] = "gpasm";
// A processor of each family with room for the whole table at address 0. On a PIC18 the hex
// file's addresses are the table's byte offsets; on the smaller cores, twice its word offsets.
constexpr char Pic18Processor[] = "18f452";
constexpr char Pic16Processor[] = "16f877a";
// The source is copied beside the wrapper so that no path needs quoting.
constexpr char Wrapper[] = "\torg 0\n#include \"font.asm\"\n\tend\n";
// One instruction whose word tells the processor's core (see picCoreOfRetlw()).
constexpr char Probe[] = "\torg 0\n\tretlw 0x5A\n\tend\n";

constexpr OptionUse CheckOptions[] = {
    {&Options::Target, "the family the table must be for: pic18 (db lines) or pic16 (dt lines); "
                       "without it, either is read"},
    {&Options::Syntax, "the assembler the table must be written for: mpasm (Char_NNN db or dt "
                       "lines) or pic-as (Char_NNN: labels with DB or retlw lines, as export "
                       "--syntax pic-as writes them); without it, either is read"},
    {&Options::Codes, "compare only the characters FIRST to LAST (decimal or 0x hex, inclusive; "
                      "default 0-255); SOURCE.asm must hold exactly those, as export --codes "
                      "writes them"},
    {&Options::Assemble, "also assemble SOURCE.asm with gpasm (from gputils) at address 0 for a "
                         "processor of its family (18f452 for pic18, 16f877a for pic16) and "
                         "compare what the chip gets with the font: the bytes on a PIC18, the "
                         "byte in each retlw word on the smaller cores"},
    {&Options::Processor, "with --assemble, the processor to assemble for instead, as gpasm "
                          "names it (18f4550, 16f1847, 12f1840)"},
    {&Options::Layout, "the layout the table's bytes must be in, as export --layout wrote them "
                       "(default rows)"},
    {&Options::Width, "the table holds the leftmost N columns of each glyph, as export --width "
                      "wrote them; only those are compared"},
};

constexpr Argument CheckArguments[] = {{"FONT.pf"}, {"SOURCE.asm"}};

constexpr CommandSyntax Check {
    "check",
    "FONT.pf SOURCE.asm [--target pic18|pic16]\n"
    "                             [--syntax mpasm|pic-as] [--codes FIRST-LAST]\n"
    "                             [--layout ORDER] [--width N]\n"
    "                             [--assemble [--processor NAME]]",
    "Reads the \"Char_NNN db ...\" (or \"dt\") lines of SOURCE.asm back and compares them with "
    "the font. Blank lines and comments (the header) are skipped; any other line must be the "
    "next character's line, in code order, and the lines must hold the codes checked, all 256 "
    "unless --codes names fewer. Exits 0 when they agree; otherwise exits 1, naming the first "
    "character that differs and showing both versions of it as pixels. A font file that is not "
    "exactly 2,048 bytes fails the check. Either file (not both) may be '-', standard input.\n\n"
    "A table in another layout than the one given (by default rows) is told apart from a wrong "
    "one: the check names the layout it is in and the options that check it.",
    CheckOptions, CheckArguments};

QString describe(int code)
{
    const QString label = charLabel(code);
    const QString shown = CharDisplayText(code);
    // Codes outside printable ASCII show as "."; only a real '.' is named as one.
    if (shown != QLatin1String(".") || code == '.')
        return QStringLiteral("%1 ('%2', %3)").arg(label, shown, hexByte(code));
    return QStringLiteral("%1 (%2)").arg(label, hexByte(code));
}

// "WHERE: Char_065 ('A', 0x41) differs from FONT:" and both versions of the first character
// that differs, code, as pixels.
void reportDifference(const FontImage &font, const FontImage &other, const CodeRange &codes,
                      int code, const QString &fontName, const QString &where,
                      const QString &otherTitle)
{
    const int count = differentCodeCount(font, other, codes);
    QString message = QStringLiteral("%1: %2 differs from %3").arg(where, describe(code), fontName);
    if (count > 1)
        message += QStringLiteral(" (the first of %1 characters that differ)").arg(count);
    printError(message + QStringLiteral(":\n")
               + glyphComparison(glyphOf(font, code), glyphOf(other, code), fontName, otherTitle)
                     .chopped(1));
}

// What one run of gpasm in a temporary folder gave.
struct GpasmRun
{
    bool ran = false; // false: it could not be run, and the reason was reported
    bool succeeded = false;
    QString output; // what gpasm said
    QByteArray hex; // the first file's hex file, when it assembled
    QString failure; // why it did not succeed, never empty then: what it said, or how it ended

    // The reason as messages give it after a colon, on lines of its own.
    QString reason() const { return QLatin1Char('\n') + failure; }
};

// Runs gpasm with the arguments in a temporary folder that holds the files, so that no path
// needs quoting; the first file is the one assembled.
GpasmRun runGpasm(const QString &assembler, QStringList arguments,
                  const QList<std::pair<QString, QByteArray>> &files = {})
{
    QTemporaryDir work;
    bool prepared = work.isValid();
    for (const auto &[name, bytes] : files) {
        QFile file(work.filePath(name));
        prepared = prepared && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    if (!prepared) {
        printError(QStringLiteral("cannot prepare the assembly in a temporary folder."));
        return {};
    }
    if (!files.isEmpty())
        arguments.append(files.constFirst().first);
    QProcess process;
    process.setWorkingDirectory(work.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(assembler, arguments);
    if (!process.waitForFinished(AssemblerTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        printError(
            QStringLiteral("gpasm did not finish in %1 seconds.").arg(AssemblerTimeoutMs / 1000));
        return {};
    }
    GpasmRun run {true,
                  process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
                  QString::fromLocal8Bit(process.readAll()).trimmed(),
                  {},
                  {}};
    if (!run.succeeded) {
        // A failure it gave no words for still says how it ended.
        run.failure = !run.output.isEmpty() ? run.output
                      : process.exitStatus() == QProcess::NormalExit
                          ? QStringLiteral("gpasm ended with exit status %1 and said nothing.")
                                .arg(process.exitCode())
                          : QStringLiteral("gpasm was ended by a signal and said nothing.");
        return run;
    }
    if (!files.isEmpty()) {
        QFile hexFile(work.filePath(QFileInfo(files.constFirst().first).completeBaseName()
                                    + QStringLiteral(".hex")));
        if (hexFile.open(QIODevice::ReadOnly)) {
            run.hex = hexFile.readAll();
        } else {
            run.succeeded = false;
            run.failure = QStringLiteral("gpasm ended without an error but wrote no hex file.");
            if (!run.output.isEmpty())
                run.failure += QLatin1Char('\n') + run.output;
        }
    }
    return run;
}

// The memory that assembling the table for the processor gives the chip, or the exit status
// after the reason was reported.
struct Assembled
{
    std::optional<FontImage> font;
    int status = ExitFailure;
};

Assembled assembledTable(const CommandLine &line, const AsmRead &read, const CodeRange &codes,
                         const GlyphLayout &layout, const QString &sourceName,
                         const QByteArray &source)
{
    const QString assembler = QStandardPaths::findExecutable(QLatin1String(Assembler));
    if (assembler.isEmpty()) {
        printError(QStringLiteral("--assemble needs gpasm (package gputils), which is not on "
                                  "PATH."));
        return {};
    }
    const QString processor = line.isSet(Options::Processor)    ? line.value(Options::Processor)
                              : read.target == PicTarget::Pic18 ? QLatin1String(Pic18Processor)
                                                                : QLatin1String(Pic16Processor);
    const QStringList forProcessor {QStringLiteral("-p"), processor};
    const QString shownProcessor = printableFileName(processor);

    // The processor's core decides how its memory reads; gpasm tells it by one retlw.
    const GpasmRun probe
        = runGpasm(assembler, forProcessor, {{QStringLiteral("probe.asm"), Probe}});
    if (!probe.ran)
        return {};
    const HexImage probeHex = parseIntelHex(probe.hex);
    if (!probe.succeeded || !probeHex.error.isEmpty()) {
        if (probe.output.startsWith(QLatin1String("Didn't find any processor named"))) {
            line.usageError(QStringLiteral("--processor '%1': gpasm knows no such processor")
                                .arg(shownProcessor));
            return {std::nullopt, ExitUsage};
        }
        printError(
            QStringLiteral("gpasm cannot assemble for %1:%2")
                .arg(shownProcessor, probe.succeeded
                                         ? QStringLiteral("\nits hex file: %1.").arg(probeHex.error)
                                         : probe.reason()));
        return {};
    }
    const std::optional<PicCore> core = picCoreOfRetlw(
        quint16(probeHex.bytes.value(0) | (quint16(probeHex.bytes.value(1)) << 8)));
    if (!core || targetOfCore(*core) != read.target) {
        line.usageError(
            QStringLiteral("--processor %1 is %2; a %3 table (%4 lines) needs %5")
                .arg(shownProcessor,
                     core ? picCoreText(*core) : QStringLiteral("no core the tables are for"),
                     picTargetName(read.target), QString::fromLatin1(tableDirective(read.target)),
                     read.target == PicTarget::Pic18 ? QStringLiteral("a PIC18")
                                                     : QStringLiteral("a 12- or 14-bit core")));
        return {std::nullopt, ExitUsage};
    }

    // gpasm places code past the end of a small part's memory without a word, so the size is
    // checked here, where gpasm's properties of the processor give it.
    const GpasmRun properties
        = runGpasm(assembler, QStringList {QStringLiteral("-s")} + forProcessor);
    const int tableSize
        = codes.count() * tableStride(AsmTable {read.target, codes, read.syntax, layout});
    const std::optional<qint64> memory
        = properties.succeeded ? programMemorySize(properties.output.toLatin1()) : std::nullopt;
    if (memory && *memory < tableSize) {
        printError(
            QStringLiteral("%1 does not fit in %2: the table takes %3 %4 of program "
                           "memory, and it has %5.")
                .arg(sourceName, shownProcessor, numberText(tableSize),
                     *core == PicCore::Pic18 ? QStringLiteral("bytes") : QStringLiteral("words"),
                     numberText(*memory)));
        return {};
    }

    const GpasmRun table = runGpasm(
        assembler, forProcessor,
        {{QStringLiteral("wrapper.asm"), Wrapper}, {QStringLiteral("font.asm"), source}});
    if (!table.ran)
        return {};
    const HexImage hex = parseIntelHex(table.hex);
    if (!table.succeeded || !hex.error.isEmpty()) {
        printError(QStringLiteral("gpasm could not assemble %1 for %2:%3")
                       .arg(sourceName, shownProcessor,
                            table.succeeded ? QStringLiteral("\nits hex file: %1.").arg(hex.error)
                                            : table.reason()));
        return {};
    }
    const AssembledFont font = assembledFont(hex, *core, codes, layout);
    if (!font.error.isEmpty()) {
        printError(QStringLiteral("%1 assembles for %2 to %3.")
                       .arg(sourceName, shownProcessor, font.error));
        return {};
    }
    return {font.font, ExitOk};
}

// A layout other than the one given in which the source holds exactly the font, if there is one:
// a table written for another display is then told from a wrong table.
std::optional<GlyphLayout> layoutThatFits(const QByteArray &source, const FontImage &font,
                                          const CodeRange &codes, const GlyphLayout &given)
{
    // The widest first: a font drawn in 5 columns also fits any width above 5.
    for (int width = GlyphSize; width >= MinLayoutWidth; --width) {
        for (const ByteOrder order : ByteOrders) {
            const GlyphLayout candidate {order, width};
            if (candidate == given)
                continue;
            const AsmRead read = parseAsmSource(source, codes, candidate);
            if (read.error.isEmpty()
                && firstDifferentCode(fontWithin(font, candidate), read.font, codes) < 0)
                return candidate;
        }
    }
    return std::nullopt;
}

// The options that give LAYOUT: "--layout columns --width 5".
QString layoutOptionsText(const GlyphLayout &layout)
{
    QString text = QStringLiteral("--layout ") + byteOrderName(layout.order);
    if (layout.width != GlyphSize)
        text += QStringLiteral(" --width %1").arg(layout.width);
    return text;
}

// Reports that the table is in another layout, when it is; false otherwise.
bool reportOtherLayout(const QByteArray &source, const FontImage &font, const CodeRange &codes,
                       const GlyphLayout &given, const QString &sourceName)
{
    const std::optional<GlyphLayout> other = layoutThatFits(source, font, codes, given);
    if (other)
        printError(
            QStringLiteral("%1: this table is in %2, not %3; give %4.")
                .arg(sourceName, layoutText(*other), layoutText(given), layoutOptionsText(*other)));
    return other.has_value();
}
} // namespace

int runCheck(const QStringList &arguments)
{
    CommandLine line(Check);
    if (const std::optional<int> status = line.parse(arguments))
        return *status;
    const QString fontPath = line.argument(0);
    const QString sourcePath = line.argument(1);
    if (fontPath == QLatin1String("-") && sourcePath == QLatin1String("-"))
        return line.usageError(
            QStringLiteral("FONT.pf and SOURCE.asm cannot both be standard input"));
    if (line.isSet(Options::Processor)) {
        if (!line.isSet(Options::Assemble))
            return line.usageError(QStringLiteral("--processor applies with --assemble only"));
        // The name goes to gpasm as an argument: letters and digits, as processors are named.
        // \z, not $, which also matches before a final line break.
        static const QRegularExpression processorName(QStringLiteral("\\A[A-Za-z0-9]+\\z"));
        if (!processorName.match(line.value(Options::Processor)).hasMatch())
            return line.usageError(
                QStringLiteral("--processor '%1': expects a processor name such as 16f877a")
                    .arg(printableFileName(line.value(Options::Processor))));
    }
    const std::optional<CodeRange> codes = codesGiven(line);
    if (!codes)
        return ExitUsage;
    const PicTarget insisted = line.choice(Options::Target, PicTarget::Pic18);
    const std::optional<GlyphLayout> layout = layoutGiven(line);
    if (!layout)
        return ExitUsage;
    const AsmSyntax syntax = line.choice(Options::Syntax, AsmSyntax::Mpasm);
    // No assembler of pic-as's syntax runs here: gpasm takes MPASM's.
    const QString picAsAssembled = QStringLiteral("--assemble runs gpasm, which assembles MPASM "
                                                  "syntax only; a pic-as table is checked line by "
                                                  "line without it");
    if (line.isSet(Options::Assemble) && syntax == AsmSyntax::PicAs)
        return line.usageError(picAsAssembled);

    const std::optional<FontInput> input = readFontInput(fontPath);
    if (!input)
        return ExitFailure;
    const std::optional<QByteArray> source = readWholeInput(sourcePath, MaxSourceBytes);
    if (!source)
        return ExitFailure;
    const QString fontName = inputName(fontPath);
    const QString sourceName = inputName(sourcePath);
    const AsmRead read = parseAsmSource(*source, *codes, *layout);
    // Only the columns the layout holds are in the table.
    const FontImage expected = fontWithin(input->font, *layout);
    if ((!read.error.isEmpty() || firstDifferentCode(expected, read.font, *codes) >= 0)
        && reportOtherLayout(*source, input->font, *codes, *layout, sourceName))
        return ExitFailure;
    if (!read.error.isEmpty()) {
        printError(QStringLiteral("%1: line %2: %3.")
                       .arg(sourceName, QString::number(read.errorLine), read.error));
        return ExitFailure;
    }
    if (line.isSet(Options::Target) && read.target != insisted) {
        printError(QStringLiteral("%1: the table is for %2 (%3 lines), not %4 (%5 lines).")
                       .arg(sourceName, picTargetName(read.target),
                            QString::fromLatin1(tableDirective(read.target, read.syntax)),
                            picTargetName(insisted),
                            QString::fromLatin1(tableDirective(insisted, read.syntax))));
        return ExitFailure;
    }
    if (line.isSet(Options::Syntax) && read.syntax != syntax) {
        printError(QStringLiteral("%1: the table is in %2 syntax, not %3.")
                       .arg(sourceName, asmSyntaxName(read.syntax), asmSyntaxName(syntax)));
        return ExitFailure;
    }
    if (line.isSet(Options::Assemble) && read.syntax == AsmSyntax::PicAs)
        return line.usageError(
            QStringLiteral("%1 is in pic-as syntax: %2").arg(sourceName, picAsAssembled));
    if (const int code = firstDifferentCode(expected, read.font, *codes); code >= 0) {
        reportDifference(expected, read.font, *codes, code, fontName,
                         QStringLiteral("%1: line %2").arg(sourceName).arg(read.lineOf[code]),
                         sourceName);
        return ExitFailure;
    }
    if (line.isSet(Options::Assemble)) {
        const Assembled assembled
            = assembledTable(line, read, *codes, *layout, sourceName, *source);
        if (!assembled.font)
            return assembled.status;
        if (const int code = firstDifferentCode(expected, *assembled.font, *codes); code >= 0) {
            reportDifference(expected, *assembled.font, *codes, code, fontName,
                             QStringLiteral("%1, as gpasm assembles it").arg(sourceName),
                             QStringLiteral("assembled"));
            return ExitFailure;
        }
    }
    if (!input->exactSize) {
        printError(QStringLiteral("%1 agrees with %2 as the editor reads it, but the font file "
                                  "is not 2,048 bytes: the check fails.")
                       .arg(sourceName, fontName));
        return ExitFailure;
    }
    return ExitOk;
}
