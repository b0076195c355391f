#include "cli/formats/bdf.h"
#include "cli/formats/inkimage.h"
#include "cli/formats/pngimage.h"
#include "cli/formats/psf.h"
#include "formatfixtures.h"
#include "testfiles.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
struct Run
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

Run runCli(const QStringList &arguments, const QString &folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(GLYPHWRIGHT_CLI), arguments);
    process.waitForFinished(-1);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

QString noCheck(int, int)
{
    return {};
}
} // namespace

// The companion's import, convert and render commands run as a user runs them: what they
// write, what they say, their exit status, and that a failure leaves the files as they were.
class TestFormatCommands final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void helpListsTheCommands();
    void convertThenImport_data();
    void convertThenImport();
    void importRawAtOffset();
    void importReportsWhatItRead_data();
    void importReportsWhatItRead();
    void cHeaderCompilesToTheFontBytes();
    void renderDrawsTheText();
    void failuresWriteNothing_data();
    void failuresWriteNothing();
    void consoleFontWhenInstalled();
    void pcfMadeByBdftopcf();
    void sheetsWrittenByImageMagick_data();
    void sheetsWrittenByImageMagick();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return m_dir->filePath(name); }
    Run run(const QStringList &arguments) const { return runCli(arguments, m_dir->path()); }
};

void TestFormatCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
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

void TestFormatCommands::importRawAtOffset()
{
    const FontImage font = randomFont(21);
    writeRaw(path(QStringLiteral("rom.bin")), pattern(0x300) + fontFileBytes(font) + pattern(5));
    for (const char *offset : {"0x300", "768"}) {
        const Run result
            = run({QStringLiteral("import"), QStringLiteral("rom.bin"), QStringLiteral("--offset"),
                   QString::fromLatin1(offset), QStringLiteral("-o"), QStringLiteral("font.pf")});
        QVERIFY2(result.exitCode == 0, qPrintable(result.err));
        QCOMPARE(readRaw(path(QStringLiteral("font.pf"))), fontFileBytes(font));
        QVERIFY2(result.err.contains(QLatin1String("read raw bytes 768 to 2815")),
                 qPrintable(result.err));
    }
}

void TestFormatCommands::importReportsWhatItRead_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("report");
    FontImage font {};
    setGlyph(font, 'A', CharBitMap {0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x42, 0});
    setGlyph(font, 'B', CharBitMap {0x7C, 0x42, 0x7C, 0x42, 0x42, 0x7C, 0, 0});
    QTest::newRow("psf.gz") << gzipped(psf1Bytes(font))
                            << "read gzip-compressed PSF 1, 8x8, 256 glyphs; empty codes: 0-64, "
                               "67-255.";
    QTest::newRow("bdf") << bdfBytes(font, QStringLiteral("x"))
                         << "read BDF, 8x8, 256 of codes 0 to 255 present; empty codes: 0-64, "
                            "67-255.";
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
           "empty codes: 0-64, 67-255.";
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

void TestFormatCommands::cHeaderCompilesToTheFontBytes()
{
    const QString cc = QStandardPaths::findExecutable(QStringLiteral("cc"));
    if (cc.isEmpty())
        QSKIP("no C compiler");
    const FontImage font = randomFont(99);
    writeRaw(path(QStringLiteral("my-font.pf")), fontFileBytes(font));
    const Run header = run({QStringLiteral("convert"), QStringLiteral("my-font.pf"),
                            QStringLiteral("-o"), QStringLiteral("my-font.h")});
    QVERIFY2(header.exitCode == 0, qPrintable(header.err));
    // The header twice, as two includes of one program would have it; then every byte out.
    writeRaw(path(QStringLiteral("main.c")), "#include <stdio.h>\n"
                                             "#include \"my-font.h\"\n"
                                             "#include \"my-font.h\"\n"
                                             "int main(void)\n{\n"
                                             "    return fwrite(my_font, 1, sizeof my_font, "
                                             "stdout) == 2048 ? 0 : 1;\n}\n");
    QProcess compiler;
    compiler.setWorkingDirectory(m_dir->path());
    compiler.start(cc,
                   {QStringLiteral("-std=c99"), QStringLiteral("-Wall"), QStringLiteral("-Wextra"),
                    QStringLiteral("-pedantic"), QStringLiteral("-Werror"), QStringLiteral("-o"),
                    QStringLiteral("dump"), QStringLiteral("main.c")});
    compiler.waitForFinished(-1);
    QVERIFY2(compiler.exitCode() == 0, compiler.readAllStandardError().constData());
    QProcess dump;
    dump.start(path(QStringLiteral("dump")));
    dump.waitForFinished(-1);
    QCOMPARE(dump.exitCode(), 0);
    QCOMPARE(dump.readAllStandardOutput(), fontFileBytes(font));
    // A comment per character, as the assembler export shows it.
    const QByteArray text = readRaw(path(QStringLiteral("my-font.h")));
    QVERIFY(text.contains("const unsigned char my_font[256][8] = {\n"));
    QVERIFY(text.contains(" /* 065 A */\n"));
    QVERIFY(text.contains(" /* 000 . */\n"));
}

void TestFormatCommands::renderDrawsTheText()
{
    const FontImage font = randomFont(42);
    writeRaw(path(QStringLiteral("font.pf")), fontFileBytes(font));
    // "é" is code 233 in Latin-1.
    const Run result
        = run({QStringLiteral("render"), QStringLiteral("font.pf"), QStringLiteral("AB\n\u00E9"),
               QStringLiteral("-o"), QStringLiteral("line.png"), QStringLiteral("--scale"),
               QStringLiteral("2")});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    const QByteArray png = readRaw(path(QStringLiteral("line.png")));
    const DecodedImage decoded = decodePng(png, noCheck);
    QVERIFY2(decoded.error.isEmpty(), qPrintable(decoded.error));
    QCOMPARE(decoded.image.width, 32);
    QCOMPARE(decoded.image.height, 32);
    QCOMPARE(decoded.image.pixels, textImage(font, {{'A', 'B'}, {233}}, 2).pixels);
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
    QTest::newRow("PSF read as BDF") << import + QStringList {"--from", "bdf"} << psf1Bytes({}) << 1
                                     << "not a font FreeType can read";
    QTest::newRow("short raw") << import + QStringList {"--offset", "100"} << font << 1
                               << "only 1948 bytes from offset 100 (the file has 2048)";
    QTest::newRow("unknown --from")
        << import + QStringList {"--from", "gif"} << font << 2 << "--from 'gif'";
    QTest::newRow("offset with psf") << import + QStringList {"--from", "psf", "--offset", "1"}
                                     << font << 2 << "--offset applies to --from raw only";
    QTest::newRow("bad offset") << import + QStringList {"--offset", "-1"} << font << 2
                                << "import: --offset '-1': expects a whole number";
    QTest::newRow("no output") << QStringList {"import", "source"} << font << 2
                               << "import: -o FONT.pf is required";
    QTest::newRow("unknown option")
        << import + QStringList {"--colour"} << font << 2 << "Unknown option 'colour'; see";
    QTest::newRow("unknown extension") << convert << font << 2 << "cannot tell the format";
    QTest::newRow("--to h") << convert + QStringList {"--to", "h"} << font << 2 << "--to 'h'";
    QTest::newRow("scale 0") << convert + QStringList {"--to", "png", "--scale", "0"} << font << 2
                             << "convert: --scale '0': expects a whole number from 1 to 32";
    QTest::newRow("scale for psf") << convert + QStringList {"--to", "psf", "--scale", "2"} << font
                                   << 2 << "--scale applies to png only";
    QTest::newRow("name for png") << convert + QStringList {"--to", "png", "--name", "x"} << font
                                  << 2 << "--name applies to bdf and c only";
    QTest::newRow("outside Latin-1") << QStringList {"render", "source", "x\u20ACy", "-o", "out"}
                                     << font << 2 << "'\u20AC' (U+20AC), which is not in Latin-1";
    QTest::newRow("empty text") << QStringList {"render", "source", "\n", "-o", "out"} << font << 2
                                << "the text is empty";
    QTest::newRow("too large a picture")
        << QStringList {"render", "source", QString(3000, u'x'), "-o", "out", "--scale", "32"}
        << font << 2 << "would make a picture over";
    QTest::newRow("two texts") << render + QStringList {"B"} << font << 2
                               << "render: too many arguments (expects 2, got 3)";
}

void TestFormatCommands::failuresWriteNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, source);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    writeRaw(path(QStringLiteral("source")), source);
    writeRaw(path(QStringLiteral("out")), "old");
    const QStringList before = QDir(m_dir->path()).entryList(QDir::Files);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY2(result.err.startsWith(QLatin1String("glyphwright-cli: ")), qPrintable(result.err));
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY(result.out.isEmpty());
    QCOMPARE(readRaw(path(QStringLiteral("out"))), QByteArray("old"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), before);
}

void TestFormatCommands::consoleFontWhenInstalled()
{
    // Debian's console-setup fonts, when this machine has them: the 8x8 ones are PSF 1 with a
    // Unicode table, gzip-compressed.
    const QStringList fonts = QDir(QStringLiteral("/usr/share/consolefonts"))
                                  .entryList({QStringLiteral("*VGA8.psf.gz")}, QDir::Files);
    if (fonts.isEmpty())
        QSKIP("no 8x8 console fonts in /usr/share/consolefonts");
    // With its drive on Windows: the companion runs in a folder on another one.
    const QString source
        = QFileInfo(QStringLiteral("/usr/share/consolefonts/") + fonts.first()).absoluteFilePath();
    const Run imported = run(
        {QStringLiteral("import"), source, QStringLiteral("-o"), QStringLiteral("console.pf")});
    QVERIFY2(imported.exitCode == 0, qPrintable(imported.err));
    QVERIFY2(imported.err.contains(QLatin1String("read gzip-compressed PSF 1, 8x8")),
             qPrintable(imported.err));
    const QByteArray font = readRaw(path(QStringLiteral("console.pf")));
    QCOMPARE(font.size(), 2048);
    // Letters sit where ASCII puts them: 'A' and 'a' have ink, the space has none.
    QVERIFY(glyphOf(fontImageFromBytes(font), 'A') != CharBitMap {});
    QVERIFY(glyphOf(fontImageFromBytes(font), 'a') != glyphOf(fontImageFromBytes(font), 'A'));
    QCOMPARE(glyphOf(fontImageFromBytes(font), ' '), CharBitMap {});
    QCOMPARE(run({QStringLiteral("convert"), QStringLiteral("console.pf"), QStringLiteral("-o"),
                  QStringLiteral("console.psf")})
                 .exitCode,
             0);
    QCOMPARE(readRaw(path(QStringLiteral("console.psf"))), psf1Bytes(fontImageFromBytes(font)));
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
    QProcess compiler;
    compiler.setWorkingDirectory(m_dir->path());
    compiler.start(bdftopcf,
                   {QStringLiteral("-o"), QStringLiteral("font.pcf"), QStringLiteral("font.bdf")});
    compiler.waitForFinished(-1);
    QVERIFY2(compiler.exitCode() == 0, compiler.readAllStandardError().constData());
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
    QProcess magick;
    magick.setWorkingDirectory(m_dir->path());
    magick.start(convert,
                 QStringList {QStringLiteral("ours.png")} + options + QStringList {output});
    magick.waitForFinished(-1);
    QVERIFY2(magick.exitCode() == 0, magick.readAllStandardError().constData());
    const QString file = output.section(QLatin1Char(':'), 1);
    const Run back
        = run({QStringLiteral("import"), file, QStringLiteral("-o"), QStringLiteral("back.pf")});
    QVERIFY2(back.exitCode == 0, qPrintable(back.err));
    QCOMPARE(readRaw(path(QStringLiteral("back.pf"))), fontFileBytes(font));
}

QTEST_GUILESS_MAIN(TestFormatCommands)
#include "tst_formatcommands.moc"
