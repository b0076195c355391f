// check: proves that an assembler source holds exactly the font, line by line and, with
// --assemble, as the bytes the assembler makes of it.
#include "cli/cli.h"
#include "formats/importresult.h"
#include "cli/commandline.h"
#include "cli/fontinput.h"
#include "cli/options.h"
#include "formats/asmread.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {
// An export is 16,652 bytes plus its name; anything this big is not one.
constexpr qsizetype MaxSourceBytes = 4 * 1024 * 1024;
constexpr int AssemblerTimeoutMs = 60000;
constexpr char Assembler[] = "gpasm";
// Any PIC18 will do: its program memory is byte-addressed, so the hex file's addresses are the
// font's byte offsets. The source is copied beside the wrapper so that no path needs quoting.
constexpr char Wrapper[] = "\tprocessor 18f452\n\torg 0\n#include \"font.asm\"\n\tend\n";

constexpr OptionUse CheckOptions[] = {
    {&Options::Assemble, "also assemble SOURCE.asm with gpasm (from gputils) for a PIC18 at "
                         "address 0 and compare the 2,048 bytes it makes with the font"},
};

constexpr CommandSpec Check {
    "check",
    "FONT.pf SOURCE.asm [--assemble]",
    "Reads the 256 \"Char_NNN db ...\" lines of SOURCE.asm back and compares them with the font. "
    "Blank lines and comments (the header) are skipped; any other line must be the next "
    "character's line, in code order. Exits 0 when they agree; otherwise exits 1, naming the "
    "first character that differs and showing both versions of it as pixels. A font file that is "
    "not exactly 2,048 bytes fails the check. Either file (not both) may be '-', standard input.",
    CheckOptions,
    2,
    2};

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
void reportDifference(const FontImage &font, const FontImage &other, int code,
                      const QString &fontName, const QString &where, const QString &otherTitle)
{
    const int count = differentCodeCount(font, other);
    QString message = QStringLiteral("%1: %2 differs from %3").arg(where, describe(code), fontName);
    if (count > 1)
        message += QStringLiteral(" (the first of %1 characters that differ)").arg(count);
    printError(message + QStringLiteral(":\n")
               + glyphComparison(glyphOf(font, code), glyphOf(other, code), fontName, otherTitle)
                     .chopped(1));
}

// Assembles the source and returns the 2,048 bytes it makes, or reports why it could not.
std::optional<FontImage> assembledFont(const QString &sourceName, const QByteArray &source)
{
    const QString assembler = QStandardPaths::findExecutable(QLatin1String(Assembler));
    if (assembler.isEmpty()) {
        printError(QStringLiteral("--assemble needs gpasm (package gputils), which is not on "
                                  "PATH."));
        return std::nullopt;
    }
    QTemporaryDir work;
    QFile wrapper(work.filePath(QStringLiteral("wrapper.asm")));
    QFile copy(work.filePath(QStringLiteral("font.asm")));
    if (!work.isValid() || !wrapper.open(QIODevice::WriteOnly) || wrapper.write(Wrapper) < 0
        || !copy.open(QIODevice::WriteOnly) || copy.write(source) != source.size()) {
        printError(QStringLiteral("cannot prepare the assembly in a temporary folder."));
        return std::nullopt;
    }
    wrapper.close();
    copy.close();
    QProcess process;
    process.setWorkingDirectory(work.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(assembler, {QStringLiteral("wrapper.asm")});
    if (!process.waitForFinished(AssemblerTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        printError(QStringLiteral("gpasm did not finish assembling %1.").arg(sourceName));
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString log = QString::fromLocal8Bit(process.readAll()).trimmed();
        printError(QStringLiteral("gpasm could not assemble %1:\n%2").arg(sourceName, log));
        return std::nullopt;
    }
    QFile hexFile(work.filePath(QStringLiteral("wrapper.hex")));
    if (!hexFile.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("gpasm wrote no hex file for %1.").arg(sourceName));
        return std::nullopt;
    }
    const HexImage hex = parseIntelHex(hexFile.readAll());
    if (!hex.error.isEmpty()) {
        printError(QStringLiteral("gpasm's hex file for %1: %2.").arg(sourceName, hex.error));
        return std::nullopt;
    }
    FontImage font {};
    for (auto it = hex.bytes.cbegin(); it != hex.bytes.cend(); ++it) {
        if (it.key() >= quint32(FontFileSize)) {
            printError(QStringLiteral("%1 assembles to bytes past the font's 2,048, at address "
                                      "0x%2.")
                           .arg(sourceName, QString::number(it.key(), 16).toUpper()));
            return std::nullopt;
        }
        font[it.key()] = it.value();
    }
    if (hex.bytes.size() != FontFileSize) {
        printError(QStringLiteral("%1 assembles to %2 bytes, not 2,048.")
                       .arg(sourceName, numberText(hex.bytes.size())));
        return std::nullopt;
    }
    return font;
}
} // namespace

int runCheck(const QStringList &arguments)
{
    CommandLine line(Check);
    if (const std::optional<int> status = line.parse(arguments))
        return *status;
    const QString fontPath = line.files().at(0);
    const QString sourcePath = line.files().at(1);
    if (fontPath == QLatin1String("-") && sourcePath == QLatin1String("-"))
        return line.usageError(
            QStringLiteral("FONT.pf and SOURCE.asm cannot both be standard input"));

    const std::optional<FontInput> input = readFontInput(fontPath);
    if (!input)
        return ExitFailure;
    const std::optional<QByteArray> source = readWholeInput(sourcePath, MaxSourceBytes);
    if (!source)
        return ExitFailure;
    const QString fontName = inputName(fontPath);
    const QString sourceName = inputName(sourcePath);
    const AsmRead read = parseAsmSource(*source);
    if (!read.error.isEmpty()) {
        printError(QStringLiteral("%1: line %2: %3.")
                       .arg(sourceName, QString::number(read.errorLine), read.error));
        return ExitFailure;
    }
    if (const int code = firstDifferentCode(input->font, read.font); code >= 0) {
        reportDifference(input->font, read.font, code, fontName,
                         QStringLiteral("%1: line %2").arg(sourceName).arg(read.lineOf[code]),
                         sourceName);
        return ExitFailure;
    }
    if (line.isSet(Options::Assemble)) {
        const std::optional<FontImage> assembled = assembledFont(sourceName, *source);
        if (!assembled)
            return ExitFailure;
        if (const int code = firstDifferentCode(input->font, *assembled); code >= 0) {
            reportDifference(input->font, *assembled, code, fontName,
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
