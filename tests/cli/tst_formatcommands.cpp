#include "formats/bdf.h"
#include "formats/inkimage.h"
#include "formats/pngimage.h"
#include "formats/psf.h"
#include "support/formatfixtures.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
using Run = ProgramRun;

QString noCheck(int, int)
{
    return {};
}

// Runs a compiler or a program the test built, in the folder; false with its errors on failure.
bool runsCleanly(const QString &program, const QStringList &arguments, const QString &folder,
                 QByteArray *output = nullptr)
{
    const Run run = runProgram(program, arguments, folder);
    if (run.exitCode != 0) {
        qWarning("%s", qPrintable(run.err));
        return false;
    }
    if (output)
        *output = run.out;
    return true;
}
} // namespace

// The companion's import, convert and render commands run as a user runs them: what they
// write, what they say, their exit status, and that a failure leaves the files as they were.
class TestFormatCommands final : public QObject, private TemporaryFolder
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void helpListsTheCommands();
    void convertThenImport_data();
    void convertThenImport();
    void importRawBytes_data();
    void importRawBytes();
    void importReportsWhatItRead_data();
    void importReportsWhatItRead();
    void layoutsThroughTheCommands_data();
    void layoutsThroughTheCommands();
    void cPairLinksInTwoFileFirmware_data();
    void cPairLinksInTwoFileFirmware();
    void cPairWrittenWholeOrNotAtAll_data();
    void cPairWrittenWholeOrNotAtAll();
    void renderDrawsTheText_data();
    void renderDrawsTheText();
    void failuresWriteNothing_data();
    void failuresWriteNothing();
    void trueTypeAtASize();
    void consoleFontWhenInstalled();
    void psfTableReadByPsfgettable();
    void pcfMadeByBdftopcf();
    void sheetsWrittenByImageMagick_data();
    void sheetsWrittenByImageMagick();

private:
    Run run(const QStringList &arguments) const
    {
        return runProgram(QStringLiteral(GLYPHWRIGHT_CLI), arguments, path());
    }
};

void TestFormatCommands::init()
{
    QVERIFY(renewFolder());
}

void TestFormatCommands::helpListsTheCommands()
{
    const Run help = run({QStringLiteral("--help")});
    QCOMPARE(help.exitCode, 0);
    for (const char *command : {"import", "convert", "render"}) {
        QVERIFY(help.out.contains(QByteArray("  ") + command + " "));
        const Run own = run({QString::fromLatin1(command), QStringLiteral("--help")});
        QCOMPARE(own.exitCode, 0);
        QVERIFY(own.out.startsWith(QByteArray("Usage: glyphwright-cli ") + command + " "));
    }
}

void TestFormatCommands::convertThenImport_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("output");
    QTest::newRow("png") << QStringList() << "out.png";
    QTest::newRow("png scaled") << QStringList {"--scale", "4"} << "out.png";
    QTest::newRow("psf") << QStringList() << "out.psf";
    QTest::newRow("bdf") << QStringList {"--name", "Test Font"} << "out.bdf";
    QTest::newRow("--to psf, any name") << QStringList {"--to", "psf"} << "out.bin";
}

void TestFormatCommands::convertThenImport()
{
    QFETCH(QStringList, options);
    QFETCH(QString, output);
    const FontImage font = randomFont(qHash(output + options.join(u' ')));
    writeRaw(path(QStringLiteral("font.pf")), fontFileBytes(font));
    const QStringList convert = QStringList {QStringLiteral("convert"), QStringLiteral("font.pf"),
                                             QStringLiteral("-o"), output}
                                + options;
    const Run first = run(convert);
    QVERIFY2(first.exitCode == 0, qPrintable(first.err));
    const QByteArray written = readRaw(path(output));
    // Reproducible: the same font gives the same bytes.
    QCOMPARE(run(convert).exitCode, 0);
    QCOMPARE(readRaw(path(output)), written);
    const Run back
        = run({QStringLiteral("import"), output, QStringLiteral("-o"), QStringLiteral("back.pf")});
    QVERIFY2(back.exitCode == 0, qPrintable(back.err));
    QCOMPARE(readRaw(path(QStringLiteral("back.pf"))), fontFileBytes(font));
    // Standard output gets the very same bytes.
    QStringList toStdout = convert;
    toStdout[3] = QStringLiteral("-");
    if (!options.contains(QStringLiteral("--to")))
        toStdout << QStringLiteral("--to") << QFileInfo(output).suffix();
    QCOMPARE(run(toStdout).out, written);
}

void TestFormatCommands::importRawBytes_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("font");
    QTest::addColumn<QString>("report");
    const QByteArray font = fontFileBytes(randomFont(21));
    const QByteArray rom = pattern(0x300) + font + pattern(5);
    QTest::newRow("hex offset") << rom << QStringList {"--offset", "0x300"} << font
                                << "read raw bytes 768 to 2,815";
    QTest::newRow("decimal offset")
        << rom << QStringList {"--offset", "768"} << font << "read raw bytes 768 to 2,815";
    // A home computer's 768-byte table of codes 32 to 127.
    QTest::newRow("from code 32") << pattern(768) << QStringList {"--first", "32"}
                                  << QByteArray(256, '\0') + pattern(768) + QByteArray(1024, '\0')
                                  << "96 codes by position, 160 codes without a glyph (0-31, "
                                     "128-255)";
    // A ROM whose rows have bit 0 as the leftmost pixel; reversed by multiplication here.
    QByteArray mirrored = pattern(2048);
    for (char &byte : mirrored)
        byte = char((quint8(byte) * 0x0202020202ULL & 0x010884422010ULL) % 1023);
    QTest::newRow("bit 0 leftmost") << pattern(2048) << QStringList {"--flip"} << mirrored
                                    << "in rows-lsb; 256 codes by position";
}

void TestFormatCommands::importRawBytes()
{
    QFETCH(QByteArray, data);
    QFETCH(QStringList, options);
    QFETCH(QByteArray, font);
    QFETCH(QString, report);
    writeRaw(path(QStringLiteral("rom.bin")), data);
    const Run result = run(QStringList {"import", "rom.bin", "-o", "font.pf"} + options);
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QCOMPARE(readRaw(path(QStringLiteral("font.pf"))), font);
    QVERIFY2(result.err.contains(report), qPrintable(result.err));
}

void TestFormatCommands::importReportsWhatItRead_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("report");
    FontImage font {};
    setGlyph(font, 'A', CharBitMap {0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x42, 0});
    setGlyph(font, 'B', CharBitMap {0x7C, 0x42, 0x7C, 0x42, 0x42, 0x7C, 0, 0});
    QTest::newRow("psf.gz") << gzipped(psf1Bytes(font))
                            << "read gzip-compressed PSF 1, 8x8, 256 glyphs with a Unicode table; "
                               "charset latin1: 256 codes through the Unicode table; empty codes: "
                               "0-64, 67-255.";
    QTest::newRow("bdf") << bdfBytes(font, QStringLiteral("x"))
                         << "read BDF, 8x8; charset latin1: 256 codes through the font's Unicode "
                            "map; empty codes: 0-64, 67-255.";
    QTest::newRow("wide sheet")
        << encodePng([&font] {
               // 32 x 8 cells at twice the size: 'A' (65) is cell 1 of row 2.
               const InkImage square = sheetOf(font, 2);
               InkImage wide(512, 128);
               for (int code : {65, 66})
                   for (int y = 0; y < 16; ++y)
                       for (int x = 0; x < 16; ++x)
                           if (square.ink(code % 16 * 16 + x, code / 16 * 16 + y))
                               wide.setInk(code % 32 * 16 + x, code / 32 * 16 + y);
               return wide;
           }())
        << "read PNG sheet 512 x 128, 32 x 8 cells of 8x8, 2 pixels per glyph pixel; "
           "256 codes by position; empty codes: 0-64, 67-255.";
}

void TestFormatCommands::importReportsWhatItRead()
{
    QFETCH(QByteArray, source);
    QFETCH(QString, report);
    writeRaw(path(QStringLiteral("source")), source);
    const Run result = run({QStringLiteral("import"), QStringLiteral("source"),
                            QStringLiteral("-o"), QStringLiteral("-")});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QVERIFY2(result.err.contains(QLatin1String("source: ") + report), qPrintable(result.err));
    const FontImage font = fontImageFromBytes(result.out);
    QCOMPARE(result.out.size(), 2048);
    QCOMPARE(glyphOf(font, 'A'), (CharBitMap {0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x42, 0}));
    QCOMPARE(glyphOf(font, 'B'), (CharBitMap {0x7C, 0x42, 0x7C, 0x42, 0x42, 0x7C, 0, 0}));
}

void TestFormatCommands::layoutsThroughTheCommands_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("syntax");
    for (const char *layout : {"rows", "rows-lsb", "columns", "columns-msb"}) {
        for (const int width : {1, 5, 8})
            QTest::addRow("%s %d", layout, width) << layout << width << "mpasm";
    }
    // pic-as's tables are checked line by line, not assembled.
    QTest::newRow("pic-as columns 5") << "columns" << 5 << "pic-as";
    QTest::newRow("pic-as columns-msb 8") << "columns-msb" << 8 << "pic-as";
}

// A font exported, converted to raw bytes and to text in a layout comes back through import,
// check and from-text given the same layout, with its columns right of the width blank (the text
// keeps every pixel). Check given no layout names the one the table is in, import refuses to read
// it in rows; a changed byte is a difference, not another layout.
void TestFormatCommands::layoutsThroughTheCommands()
{
    QFETCH(QString, layout);
    QFETCH(int, width);
    QFETCH(QString, syntax);
    const FontImage font = randomFont(qHash(QTest::currentDataTag()));
    writeRaw(path(QStringLiteral("font.pf")), fontFileBytes(font));
    QByteArray narrow = fontFileBytes(font);
    for (char &row : narrow)
        row = char(quint8(row) & (0xFF00 >> width));
    const QStringList given {"--layout", layout, "--width", QString::number(width)};
    const bool columns = layout.startsWith(QLatin1String("columns"));

    const auto runs = [this](const QStringList &arguments) {
        const Run result = run(arguments);
        if (result.exitCode != 0)
            qWarning("%s: %s", qPrintable(arguments.join(u' ')), qPrintable(result.err));
        return result.exitCode == 0;
    };
    const QStringList assembler = given + QStringList {"--syntax", syntax};
    QVERIFY(runs(QStringList {"export", "font.pf", "-o", "font.asm"} + assembler));
    // gpasm pads a PIC18 line of 5 bytes to 6, and makes each byte a retlw for pic16.
    const QStringList assemble
        = QStandardPaths::findExecutable(QStringLiteral("gpasm")).isEmpty() || syntax != "mpasm"
              ? QStringList()
              : QStringList {"--assemble"};
    QVERIFY(runs(QStringList {"check", "font.pf", "font.asm"} + assembler + assemble));
    QVERIFY(runs(QStringList {"export", "font.pf", "-o", "retlw.asm", "--target", "pic16"}
                 + assembler));
    QVERIFY(runs(QStringList {"check", "font.pf", "retlw.asm"} + assembler + assemble));
    QVERIFY(runs(QStringList {"import", "retlw.asm", "-o", "retlw.pf"} + given));
    QCOMPARE(readRaw(path(QStringLiteral("retlw.pf"))), narrow);
    QVERIFY(runs(QStringList {"import", "font.asm", "-o", "asm.pf"} + given));
    QCOMPARE(readRaw(path(QStringLiteral("asm.pf"))), narrow);
    QVERIFY(runs(QStringList {"convert", "font.pf", "-o", "font.bin"} + given));
    QCOMPARE(readRaw(path(QStringLiteral("font.bin"))).size(), 256 * (columns ? width : 8));
    QVERIFY(runs(QStringList {"import", "font.bin", "--from", "raw", "-o", "raw.pf"} + given));
    QCOMPARE(readRaw(path(QStringLiteral("raw.pf"))), narrow);
    QVERIFY(runs(QStringList {"text", "font.pf", "-o", "font.txt"} + given));
    QVERIFY(runs(QStringList {"from-text", "font.txt", "-o", "text.pf"} + given));
    QCOMPARE(readRaw(path(QStringLiteral("text.pf"))), fontFileBytes(font));

    if (layout != QLatin1String("rows") || width != 8) {
        const Run unsaid = run({"check", "font.pf", "font.asm"});
        QCOMPARE(unsaid.exitCode, 1);
        const QString options
            = width == 8 ? QStringLiteral("give --layout %1.").arg(layout)
                         : QStringLiteral("give --layout %1 --width %2.").arg(layout).arg(width);
        QVERIFY2(unsaid.err.contains(QStringLiteral("this table is in ")), qPrintable(unsaid.err));
        QVERIFY2(unsaid.err.contains(options), qPrintable(unsaid.err));
        // An import in another layout would be a wrong font: the header stops it.
        const Run bare = run({"import", "font.asm", "-o", "bare.pf"});
        QCOMPARE(bare.exitCode, 1);
        QVERIFY2(bare.err.contains(QStringLiteral("the header says the bytes are in ")),
                 qPrintable(bare.err));
    }
    QByteArray changed = readRaw(path(QStringLiteral("font.asm")));
    // The low digit of Char_065's first byte: "Char_065<TAB><TAB>db<TAB>0x.." (MPASM) or
    // "Char_065:<TAB>DB<TAB>0x.." (pic-as).
    const qsizetype byte = changed.indexOf("Char_065") + 16;
    changed[byte] = changed[byte] == '0' ? '1' : '0';
    writeRaw(path(QStringLiteral("wrong.asm")), changed);
    const Run wrong = run(QStringList {"check", "font.pf", "wrong.asm"} + given);
    QCOMPARE(wrong.exitCode, 1);
    QVERIFY2(wrong.err.contains(QStringLiteral("Char_065 ('A', 0x41) differs")),
             qPrintable(wrong.err));
}

void TestFormatCommands::cPairLinksInTwoFileFirmware_data()
{
    QTest::addColumn<QString>("output");
    QTest::newRow("-o names the header") << "my-font.h";
    QTest::newRow("-o names the source") << "my-font.c";
}

void TestFormatCommands::cPairLinksInTwoFileFirmware()
{
    QFETCH(QString, output);
    const QString cc = QStandardPaths::findExecutable(QStringLiteral("cc"));
    if (cc.isEmpty())
        QSKIP("no C compiler");
    const FontImage font = randomFont(99);
    writeRaw(path(QStringLiteral("my-font.pf")), fontFileBytes(font));
    const Run converted = run({"convert", "my-font.pf", "-o", output});
    QVERIFY2(converted.exitCode == 0, qPrintable(converted.err));
    // A subset keeps its own size in the declaration and the definition.
    const Run subset
        = run({"convert", "my-font.pf", "-o", "ascii.h", "--codes", "32-127", "--name", "ascii"});
    QVERIFY2(subset.exitCode == 0, qPrintable(subset.err));
    // Two files of one firmware include the header; the font's own source defines the array.
    writeRaw(path(QStringLiteral("main.c")), "#include <stdio.h>\n"
                                             "#include \"my-font.h\"\n"
                                             "#include \"my-font.h\"\n"
                                             "#include \"ascii.h\"\n"
                                             "unsigned char row_of(int code, int row);\n"
                                             "int main(void)\n{\n"
                                             "    if (row_of(65, 2) != my_font[65][2])\n"
                                             "        return 1;\n"
                                             "    return fwrite(my_font, 1, sizeof my_font, "
                                             "stdout) == 2048 && fwrite(ascii, 1, sizeof ascii, "
                                             "stdout) == 768 ? 0 : 1;\n}\n");
    writeRaw(path(QStringLiteral("rows.c")), "#include \"my-font.h\"\n"
                                             "unsigned char row_of(int code, int row);\n"
                                             "unsigned char row_of(int code, int row)\n{\n"
                                             "    return my_font[code][row];\n}\n");
    QVERIFY(runsCleanly(cc,
                        {"-std=c99", "-Wall", "-Wextra", "-pedantic", "-Werror", "-o", "dump",
                         "main.c", "rows.c", "my-font.c", "ascii.c"},
                        path()));
    QByteArray dumped;
    QVERIFY(runsCleanly(path(QStringLiteral("dump")), {}, path(), &dumped));
    QCOMPARE(dumped, fontFileBytes(font) + fontFileBytes(font).mid(256, 768));
    // A comment per character, as the assembler export shows it.
    QVERIFY(readRaw(path(QStringLiteral("my-font.c"))).contains(" /* 065 A */\n"));
}

void TestFormatCommands::cPairWrittenWholeOrNotAtAll_data()
{
    // The files' name as printf writes it: plain, or with a byte that is not UTF-8.
    QTest::addColumn<QString>("stem");
    QTest::addColumn<QString>("shown"); // as messages show it
    QTest::newRow("plain name") << "osd"
                                << "osd";
    QTest::newRow("a name that is not UTF-8") << "osd\\377"
                                              << "osd\\xFF";
}

void TestFormatCommands::cPairWrittenWholeOrNotAtAll()
{
#ifdef Q_OS_WIN
    QSKIP("needs a shell's ulimit to make the second write fail");
#endif
    QFETCH(QString, stem);
    QFETCH(QString, shown);
    // A file-size limit of 1 KiB lets the header through and stops the source: the header is
    // put back as it was. The shell makes and reads the files, which a name of bytes needs.
    writeRaw(path(QStringLiteral("font.pf")), fontFileBytes(randomFont(5)));
    const QString script = QStringLiteral(
        "h=\"$(printf '%1').h\" c=\"$(printf '%1').c\"\n"
        "printf 'old header' >\"$h\" && printf 'old source' >\"$c\" || exit 9\n"
        "(ulimit -f 2 && exec \"$0\" convert font.pf -o \"$c\")\n"
        "status=$?\n"
        "printf '%s|%s|%s' \"$(cat \"$h\")\" \"$(cat \"$c\")\" \"$(ls -A | wc -l)\"\n"
        // Qt cannot remove a name that is not UTF-8 when the folder goes.
        "rm -f \"$h\" \"$c\"\n"
        "exit $status");
    const Run shell
        = runProgram(QStringLiteral("sh"), {"-c", script.arg(stem), GLYPHWRIGHT_CLI}, path());
    const QString err = shell.err;
    QCOMPARE(shell.exitCode, 1);
    QVERIFY2(err.contains(shown + QLatin1String(".c: cannot write: ")), qPrintable(err));
    QVERIFY2(err.contains(shown + QLatin1String(".h: left as it was.")), qPrintable(err));
    // Both files as they were, and nothing beside them and the font.
    QCOMPARE(shell.out, QByteArray("old header|old source|3"));
}

void TestFormatCommands::renderDrawsTheText_data()
{
    QTest::addColumn<QStringList>("charset");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<QByteArray>>("codes"); // per line
    QTest::newRow("latin1") << QStringList() << "AB\n\u00E9" << QList<QByteArray> {"AB", "\xE9"};
    QTest::newRow("cp437") << QStringList {"--charset", "cp437"} << "\u00E9\u2591"
                           << QList<QByteArray> {"\x82\xB0"};
}

void TestFormatCommands::renderDrawsTheText()
{
    QFETCH(QStringList, charset);
    QFETCH(QString, text);
    QFETCH(QList<QByteArray>, codes);
    OTHER_CHARSET_OR_SKIP(charsetArgument(charset));
    const FontImage font = randomFont(42);
    writeRaw(path(QStringLiteral("font.pf")), fontFileBytes(font));
    const Run result
        = run(QStringList {"render", "font.pf", text, "-o", "line.png", "--scale", "2"} + charset);
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    const QByteArray png = readRaw(path(QStringLiteral("line.png")));
    const DecodedImage decoded = decodePng(png, noCheck);
    QVERIFY2(decoded.error.isEmpty(), qPrintable(decoded.error));
    std::vector<std::vector<std::uint8_t>> lines;
    for (const QByteArray &line : codes)
        lines.emplace_back(line.begin(), line.end());
    const InkImage expected = textImage(font, lines, 2);
    QCOMPARE(decoded.image.width, expected.width);
    QCOMPARE(decoded.image.height, expected.height);
    QCOMPARE(decoded.image.pixels, expected.pixels);
    QVERIFY(!png.contains("tIME"));
    QCOMPARE(png.mid(24, 2), QByteArray("\x08\x00", 2)); // IHDR: 8 bits, greyscale
}

void TestFormatCommands::failuresWriteNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const QStringList import {"import", "source", "-o", "out"};
    const QStringList convert {"convert", "source", "-o", "out"};
    const QStringList render {"render", "source", "A", "-o", "out"};
    const QByteArray font = fontFileBytes(randomFont(1));
    const QByteArray tall = QByteArray("\x36\x04\x00\x10", 4) + QByteArray(4096, '\0');
    QTest::newRow("wrong glyph size") << import << tall << 1 << "source: PSF 1 with 8x16 glyphs";
    QTest::newRow("truncated header") << import << psf2(256, 8, 8, {}).left(16) << 1
                                      << "source: PSF 2 header is truncated: 16 of its 32 bytes.";
    const QByteArray packed = gzipped(psf1Bytes(randomFont(2)));
    QTest::newRow("truncated gzip")
        << import << packed.left(packed.size() - 20) << 1 << "source: the gzip data is truncated.";
    QTest::newRow("wrong image size")
        << import << encodePng(InkImage(128, 100)) << 1
        << "source: the image is 128 x 100 pixels; a sheet is 128 x 128";
    QTest::newRow("no glyphs") << import << psf2(0, 8, 8, {}) << 1
                               << "source: PSF 2 header gives a glyph count of 0";
    QTest::newRow("another format") << import << QByteArray("%PDF-1.4\n") << 1 << "use --from raw";
    // The reader says what would help in the font's words; the companion names the options.
    const QByteArray psf1 = QByteArray("\x36\x04\x02\x08", 4) + QByteArray(2048, '\0');
    QTest::newRow("PSF table cut short")
        << import << psf1 + psfTable(1, QList<QList<char32_t>>(256, {'A'})).chopped(3) << 1
        << "the Unicode table ends at glyph 255 of 256; the glyphs can be taken in their order "
           "without it. Give --by-position for that.";
    QTest::newRow("PSF table of another script")
        << import << psf1 + psfTable(1, QList<QList<char32_t>>(256, {0x4E00})) << 1
        << "has none of the characters of latin1; name the character set its codes are in, or "
           "take the glyphs in their order. Give --charset NAME or --by-position.";
    QTest::newRow("PSF read as BDF") << import + QStringList {"--from", "bdf"} << psf1Bytes({}) << 1
                                     << "not a font FreeType can read";
    QTest::newRow("--count past the data")
        << import + QStringList {"--offset", "100", "--count", "250"} << font << 1
        << "--count 250 asks for 250 glyphs; the data holds 243 (1,948 bytes from offset 100";
    QTest::newRow("--count of one past the data")
        << import + QStringList {"--offset", "2044", "--count", "1"} << font << 1
        << "--count 1 asks for 1 glyph; the data holds 0 (4 bytes from offset 2,044";
    QTest::newRow("unknown charset")
        << import + QStringList {"--charset", "klingon"} << tall << 2 << "--charset 'klingon': ";
    QTest::newRow("charset for a sheet")
        << import + QStringList {"--charset", "cp437"} << encodePng(sheetOf({}, 1)) << 2
        << "--charset applies to --from psf, bdf or ttf only";
    QTest::newRow("unknown --from")
        << import + QStringList {"--from", "gif"} << font << 2 << "--from 'gif'";
    QTest::newRow("offset with psf") << import + QStringList {"--from", "psf", "--offset", "1"}
                                     << font << 2 << "--offset applies to --from raw only";
    QTest::newRow("bad offset") << import + QStringList {"--offset", "-1"} << font << 2
                                << "import: --offset '-1': expects a whole number";
    QTest::newRow("--flip and another layout")
        << import + QStringList {"--flip", "--layout", "columns"} << font << 2
        << "--flip means --layout rows-lsb, not columns";
    QTest::newRow("layout for a sheet")
        << convert + QStringList {"--to", "png", "--layout", "columns"} << font << 2
        << "--layout applies to c, asm, text or raw only";
    QTest::newRow("storage for assembler")
        << convert + QStringList {"--to", "asm", "--storage", "progmem"} << font << 2
        << "--storage applies to c only";
    QTest::newRow("no output") << QStringList {"import", "source"} << font << 2
                               << "import: -o FONT.pf is required";
    QTest::newRow("unknown option")
        << import + QStringList {"--colour"} << font << 2 << "unknown option '--colour'; see";
    QTest::newRow("unknown extension") << convert << font << 2 << "cannot tell the format";
    QTest::newRow("--to h") << convert + QStringList {"--to", "h"} << font << 2 << "--to 'h'";
    QTest::newRow("scale 0") << convert + QStringList {"--to", "png", "--scale", "0"} << font << 2
                             << "convert: --scale '0': expects a whole number from 1 to 32";
    QTest::newRow("scale for psf") << convert + QStringList {"--to", "psf", "--scale", "2"} << font
                                   << 2 << "--scale applies to png only";
    QTest::newRow("a subset of png")
        << convert + QStringList {"--to", "png", "--codes", "32-127"} << font << 2
        << "--codes applies to bdf, c, asm, text or raw only";
    QTest::newRow("a subset of psf")
        << convert + QStringList {"--to", "psf", "--codes", "0-0"} << font << 2
        << "--codes applies to bdf, c, asm, text or raw only";
    QTest::newRow("a target for c") << convert + QStringList {"--to", "c", "--target", "pic16"}
                                    << font << 2 << "--target applies to asm only";
    QTest::newRow("name for png") << convert + QStringList {"--to", "png", "--name", "x"} << font
                                  << 2 << "--name applies to bdf, c or asm only";
    QTest::newRow("outside Latin-1")
        << QStringList {"render", "source", "x\u20ACy", "-o", "out"} << font << 2
        << "'\u20AC' (U+20AC), which character set latin1 does not have";
    QTest::newRow("C to standard output")
        << QStringList {"convert", "source", "-o", "-", "--to", "c"} << font << 2
        << "the c output is two files";
    QTest::newRow("empty text") << QStringList {"render", "source", "\n", "-o", "out"} << font << 2
                                << "the text is empty";
    QTest::newRow("too large a picture")
        << QStringList {"render", "source", QString(3000, u'x'), "-o", "out", "--scale", "32"}
        << font << 2 << "would make a picture over";
    QTest::newRow("size for a PSF") << import + QStringList {"--size", "8"} << psf1Bytes({}) << 2
                                    << "--size applies to --from ttf only";
    QTest::newRow("an unknown syntax")
        << QStringList {"export", "source", "-o", "out", "--syntax", "masm"} << font << 2
        << "--syntax 'masm': expects mpasm or pic-as";
    QTest::newRow("pic-as assembled")
        << QStringList {"check", "source", "out", "--syntax", "pic-as", "--assemble"} << font << 2
        << "--assemble runs gpasm, which assembles MPASM syntax only";
    QTest::newRow("two texts") << render + QStringList {"B"} << font << 2
                               << "render: too many arguments (expects 2, got 3)";
}

void TestFormatCommands::failuresWriteNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, source);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    OTHER_CHARSET_OR_SKIP(charsetArgument(arguments));
    writeRaw(path(QStringLiteral("source")), source);
    writeRaw(path(QStringLiteral("out")), "old");
    const QStringList before = QDir(path()).entryList(QDir::Files);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY2(result.err.startsWith(QLatin1String("glyphwright-cli: ")), qPrintable(result.err));
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY(result.out.isEmpty());
    QCOMPARE(readRaw(path(QStringLiteral("out"))), QByteArray("old"));
    QCOMPARE(QDir(path()).entryList(QDir::Files), before);
}

// DejaVu Sans Mono as a user imports it: told to give a size, then drawn with the characters
// that did not fit named.
void TestFormatCommands::trueTypeAtASize()
{
    // With its drive under Wine, where the companion runs in a folder on another drive.
    const QString dejaVu
        = QFileInfo(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"))
              .absoluteFilePath();
    if (!QFileInfo::exists(dejaVu))
        QSKIP("DejaVu Sans Mono (package fonts-dejavu-core) is not installed.");
    const Run sizeless = run({"import", dejaVu, "-o", "font.pf"});
    QVERIFY2(sizeless.exitCode == 1 && sizeless.err.contains("Give it with --size N."),
             qPrintable(sizeless.err));
    const Run sized = run({"import", dejaVu, "-o", "font.pf", "--size", "9"});
    QVERIFY2(sized.exitCode == 0
                 && sized.err.contains("pixels tall: 15 characters, 95 '_', 103 'g'"),
             qPrintable(sized.err));
    QCOMPARE(readRaw(path("font.pf")).size(), FontFileSize);
}

void TestFormatCommands::consoleFontWhenInstalled()
{
    // Debian's console-setup fonts, when this machine has them, are in the console's order: the
    // PSF 1 Unicode table is the only key to which glyph is which character. With its drive on
    // Windows: the companion runs in a folder on another one.
    const QString source
        = QFileInfo(QStringLiteral("/usr/share/consolefonts/Lat15-VGA8.psf.gz")).absoluteFilePath();
    if (!QFileInfo::exists(source))
        QSKIP("console-setup-linux's Lat15-VGA8.psf.gz is not installed");
    const Run imported = run({"import", source, "-o", "console.pf"});
    QVERIFY2(imported.exitCode == 0, qPrintable(imported.err));
    QVERIFY2(imported.err.contains(QLatin1String("read gzip-compressed PSF 1, 8x8, 256 glyphs with "
                                                 "a Unicode table; charset latin1: ")),
             qPrintable(imported.err));
    const FontImage font = fontImageFromBytes(readRaw(path(QStringLiteral("console.pf"))));
    // The font's own table, read here on its own: a 4-byte header, 256 glyphs of 8 bytes, then
    // per glyph 16-bit characters up to 0xFFFF (0xFFFE starts sequences of several).
    if (QStandardPaths::findExecutable(QStringLiteral("gzip")).isEmpty())
        QSKIP("needs gzip to read the font's own table");
    QByteArray psf;
    QVERIFY(runsCleanly(QStringLiteral("gzip"), {"-dc", source}, path(), &psf));
    QCOMPARE(psf.left(4), QByteArray("\x36\x04\x02\x08", 4));
    QHash<int, int> glyphOfCharacter;
    bool sequences = false;
    for (qsizetype at = 4 + 2048, glyph = 0; at + 1 < psf.size(); at += 2) {
        const int value = quint8(psf[at]) | quint8(psf[at + 1]) << 8;
        sequences = value == 0xFFFE || (sequences && value != 0xFFFF);
        if (value == 0xFFFF)
            ++glyph;
        else if (!sequences && !glyphOfCharacter.contains(value))
            glyphOfCharacter.insert(value, int(glyph));
    }
    for (int code = 0; code < 256; ++code) {
        const int glyph = glyphOfCharacter.value(code, -1);
        QCOMPARE(glyphOf(font, code),
                 glyph < 0 ? CharBitMap {} : glyphOf(fontImageFromBytes(psf.mid(4)), glyph));
    }
    QVERIFY(glyphOf(font, 0xE9) != CharBitMap {}); // é
    // Written back, the PSF's table gives each glyph its Latin-1 character.
    QCOMPARE(run({"convert", "console.pf", "-o", "console.psf"}).exitCode, 0);
    QCOMPARE(readRaw(path(QStringLiteral("console.psf"))), psf1Bytes(font));
}

void TestFormatCommands::psfTableReadByPsfgettable()
{
    // kbd's own reader of the table: cp437's 0x82 is é, its 0xB0 the light shade.
    const QString psfgettable = QStandardPaths::findExecutable(QStringLiteral("psfgettable"));
    if (psfgettable.isEmpty())
        QSKIP("psfgettable (kbd) is not installed");
    writeRaw(path(QStringLiteral("font.pf")), fontFileBytes(randomFont(8)));
    QCOMPARE(run({"convert", "font.pf", "-o", "font.psf", "--charset", "cp437"}).exitCode, 0);
    QByteArray listed;
    QVERIFY(runsCleanly(psfgettable, {"font.psf"}, path(), &listed));
    QVERIFY2(listed.contains("\n0x082\tU+00e9\n") && listed.contains("\n0x0b0\tU+2591\n"),
             listed.constData());
}

void TestFormatCommands::pcfMadeByBdftopcf()
{
    // X11's compiled format, from our own BDF by the X.Org tool, plain and gzip-compressed as
    // distributions ship it.
    const QString bdftopcf = QStandardPaths::findExecutable(QStringLiteral("bdftopcf"));
    if (bdftopcf.isEmpty())
        QSKIP("bdftopcf (xfonts-utils) is not installed");
    const FontImage font = randomFont(77);
    writeRaw(path(QStringLiteral("font.bdf")), bdfBytes(font, QStringLiteral("Test")));
    QVERIFY(runsCleanly(
        bdftopcf, {QStringLiteral("-o"), QStringLiteral("font.pcf"), QStringLiteral("font.bdf")},
        path()));
    writeRaw(path(QStringLiteral("font.pcf.gz")),
             gzipped(readRaw(path(QStringLiteral("font.pcf")))));
    for (const char *name : {"font.pcf", "font.pcf.gz"}) {
        const Run back = run({QStringLiteral("import"), QString::fromLatin1(name),
                              QStringLiteral("-o"), QStringLiteral("back.pf")});
        QVERIFY2(back.exitCode == 0, qPrintable(back.err));
        QVERIFY2(back.err.contains(QLatin1String("PCF, 8x8")), qPrintable(back.err));
        QCOMPARE(readRaw(path(QStringLiteral("back.pf"))), fontFileBytes(font));
    }
}

void TestFormatCommands::sheetsWrittenByImageMagick_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("output");
    QTest::newRow("BMP 24-bit") << QStringList {"-type", "TrueColor"} << "BMP3:sheet.bmp";
    QTest::newRow("BMP 1-bit") << QStringList {"-type", "Bilevel"} << "BMP3:sheet.bmp";
    QTest::newRow("BMP 8-bit RLE, ImageMagick's default") << QStringList() << "BMP:sheet.bmp";
    QTest::newRow("BMP 32-bit with alpha")
        << QStringList {"-type", "TrueColorAlpha"} << "BMP:sheet.bmp";
    // Grey ink on a coloured, partly transparent page: only dark, opaque pixels are ink.
    QTest::newRow("PNG in colour with alpha")
        << QStringList {"-fill",     "#D0E0FF", "-opaque", "white",    "-fill",    "#303030",
                        "-opaque",   "black",   "-alpha",  "set",      "-channel", "A",
                        "-evaluate", "set",     "90%",     "+channel", "-type",    "TrueColorAlpha"}
        << "PNG32:sheet.png";
}

void TestFormatCommands::sheetsWrittenByImageMagick()
{
    QFETCH(QStringList, options);
    QFETCH(QString, output);
    const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
    if (convert.isEmpty())
        QSKIP("ImageMagick is not installed");
    const FontImage font = randomFont(qHash(output));
    writeRaw(path(QStringLiteral("font.pf")), fontFileBytes(font));
    QCOMPARE(run({QStringLiteral("convert"), QStringLiteral("font.pf"), QStringLiteral("-o"),
                  QStringLiteral("ours.png"), QStringLiteral("--scale"), QStringLiteral("2")})
                 .exitCode,
             0);
    QVERIFY(runsCleanly(convert,
                        QStringList {QStringLiteral("ours.png")} + options + QStringList {output},
                        path()));
    const QString file = output.section(QLatin1Char(':'), 1);
    const Run back
        = run({QStringLiteral("import"), file, QStringLiteral("-o"), QStringLiteral("back.pf")});
    QVERIFY2(back.exitCode == 0, qPrintable(back.err));
    QCOMPARE(readRaw(path(QStringLiteral("back.pf"))), fontFileBytes(font));
}

QTEST_GUILESS_MAIN(TestFormatCommands)
#include "tst_formatcommands.moc"
