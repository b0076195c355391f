#include "core/asmexport.h"
#include "export/exportcommand.h"
#include "support/support.h"

#include <QFile>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
QList<QByteArray> characterLines(const QByteArray &source)
{
    QList<QByteArray> lines = source.split('\n');
    // Header: empty line, comment, empty line.
    return lines.mid(3);
}
} // namespace

Q_DECLARE_METATYPE(GlyphLayout)

// The PIC assembler text, checked byte for byte.
class TestAsmExport final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exampleLineForA();
    void sizesAndHeader_data();
    void sizesAndHeader();
    void comments_data();
    void comments();
    void hexDigits();
    void headerStaysOneLine_data();
    void headerStaysOneLine();
    void dialogProposals_data();
    void dialogProposals();
    void pic16Subset();
    void picAsTables_data();
    void picAsTables();
    void assemblesToTheFontBytes_data();
    void assemblesToTheFontBytes();
};

void TestAsmExport::exampleLineForA()
{
    FontImage font {};
    setGlyph(font, 65, CapitalA);
    // fromHex() skips the spaces.
    const QByteArray expected = QByteArray::fromHex(
        "43 68 61 72 5F 30 36 35 09 09 64 62 09 30 78 31 38 2C 20 30 78 32 34 2C 20 30 78 34 32 "
        "2C 20 30 78 37 45 2C 20 30 78 34 32 2C 20 30 78 34 32 2C 20 30 78 34 32 2C 20 30 78 30 "
        "30 09 3B 20 41");
    QCOMPARE(expected.size(), 63);
    const QByteArray source = asmSource(font, QString());
    const QByteArray line = expected + "\r\nChar_066";
    QVERIFY(source.contains(line));
}

void TestAsmExport::sizesAndHeader_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    QTest::newRow("no file") << "" << 16652;
    QTest::newRow("big.pf") << "big.pf" << 16658;
}

void TestAsmExport::sizesAndHeader()
{
    QFETCH(QString, name);
    QFETCH(int, size);
    const QByteArray source = asmSource(FontImage {}, name);
    QCOMPARE(source.size(), size);
    QVERIFY(source.startsWith("\r\n; Font: " + name.toLatin1()
                              + "\r\n\r\nChar_000\t\tdb\t0x00, 0x00, 0x00, 0x00, "
                                "0x00, 0x00, 0x00, 0x00\t; .\r\nChar_001"));
    QVERIFY(source.endsWith("Char_255\t\tdb\t0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00\t; ."));
    QCOMPARE(source.count("\r\n"), 3 + 255);
    QCOMPARE(source.count('\n'), source.count("\r\n"));
    const QList<QByteArray> lines = characterLines(source);
    QCOMPARE(lines.size(), 256);
    for (int code = 0; code < 256; ++code) {
        QByteArray line = lines[code];
        line.chop(code < 255 ? 1 : 0); // the CR before the LF
        QCOMPARE(line.size(), 63);
        QVERIFY(line.startsWith(
            QStringLiteral("Char_%1\t\tdb\t").arg(code, 3, 10, QLatin1Char('0')).toLatin1()));
    }
}

void TestAsmExport::comments_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("ending");
    QTest::newRow("31") << 31 << QByteArray("\t; .");
    QTest::newRow("space has two spaces") << 32 << QByteArray("\t;  ");
    QTest::newRow("65") << 65 << QByteArray("\t; A");
    QTest::newRow("126") << 126 << QByteArray("\t; ~");
    QTest::newRow("127") << 127 << QByteArray("\t; .");
    QTest::newRow("255") << 255 << QByteArray("\t; .");
}

void TestAsmExport::comments()
{
    QFETCH(int, code);
    QFETCH(QByteArray, ending);
    QByteArray line = characterLines(asmSource(FontImage {}, QString())).at(code);
    if (line.endsWith('\r'))
        line.chop(1);
    QVERIFY2(line.endsWith(ending), line.constData());
}

void TestAsmExport::hexDigits()
{
    FontImage font {};
    setGlyph(font, 7, CharBitMap {0x0F, 0xAB, 0x00, 0xFF, 0x01, 0x10, 0x9C, 0xE0});
    const QByteArray line = characterLines(asmSource(font, QString())).at(7);
    QVERIFY(
        line.startsWith("Char_007\t\tdb\t0x0F, 0xAB, 0x00, 0xFF, 0x01, 0x10, 0x9C, 0xE0\t; .\r"));
}

void TestAsmExport::headerStaysOneLine_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("shown");
    QTest::newRow("line feed") << "a\nmovlw 1.pf" << QByteArray("a?movlw 1.pf");
    QTest::newRow("carriage return") << "a\rb.pf" << QByteArray("a?b.pf");
    QTest::newRow("tab and delete") << QStringLiteral("a\tb\x7F.pf") << QByteArray("a?b?.pf");
}

void TestAsmExport::headerStaysOneLine()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, shown);
    const QByteArray source = asmSource(FontImage {}, name);
    QVERIFY(source.startsWith("\r\n; Font: " + shown + "\r\n\r\nChar_000"));
    QCOMPARE(source.size(), 16652 + shown.size());
}

void TestAsmExport::dialogProposals_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("no file") << ""
                             << "font.asm";
    QTest::newRow("appended, not replaced") << "big.pf"
                                            << "big.pf.asm";
}

void TestAsmExport::dialogProposals()
{
    QFETCH(QString, current);
    QFETCH(QString, proposed);
    const FileDialogRequest request = exportRequest(current);
    QCOMPARE(request.initialName, proposed);
    QCOMPARE(request.mode, FileDialogRequest::Mode::Save);
    QCOMPARE(request.title, QStringLiteral("Export Font as Pic ASM"));
    QCOMPARE(request.filters, QStringList({"PIC Assembler (*.asm)", "All Files (*.*)"}));
    QCOMPARE(request.defaultSuffix, QStringLiteral("asm"));
    QVERIFY(!request.confirmOverwrite);
    QVERIFY(!request.mustExist);
}

// The editor's character lines for the range, with dt, under a header that names the target
// and the range.
void TestAsmExport::pic16Subset()
{
    const FontImage font = randomFont(32);
    const QByteArray source
        = asmSource(font, "f.pf", {PicTarget::Pic16, {32, 127}, AsmSyntax::Mpasm, {}});
    const QByteArray lines = characterLines(asmSource(font, "f.pf"))
                                 .mid(32, 96)
                                 .join('\n')
                                 .replace("\t\tdb\t", "\t\tdt\t")
                                 .chopped(1);
    QVERIFY(source.startsWith("\r\n; Font: f.pf\r\n; Target: pic16 (PIC10, PIC12, PIC16, "
                              "PIC16F1): each byte is one retlw instruction.\r\n"));
    QVERIFY(source.endsWith("\r\n; Codes 32 to 127 only: 96 characters, 768 retlw words from "
                            "Char_032; subtract 32 from a code.\r\n\r\n"
                            + lines));
}

void TestAsmExport::picAsTables_data()
{
    QTest::addColumn<bool>("pic16");
    QTest::addColumn<GlyphLayout>("layout");
    QTest::addColumn<QByteArray>("size"); // of the table, as the header states it
    QTest::addColumn<QByteArray>("table"); // the lines from GLOBAL to code 65's
    QTest::newRow("PIC18") << false << GlyphLayout {} << QByteArray("16 bytes")
                           << QByteArray("\tGLOBAL\tChar_065\r\n\tPSECT\tglyphFont,class=CONST,"
                                         "space=0\r\n\r\nChar_065:\tDB\t0x18, 0x24, 0x42, 0x7E, "
                                         "0x42, 0x42, 0x42, 0x00\t; A\r\n");
    QTest::newRow("PIC16") << true << GlyphLayout {} << QByteArray("16 retlw words")
                           << QByteArray(
                                  "\tGLOBAL\tChar_065\r\n\tPSECT\tglyphFont,class=CODE,"
                                  "delta=2\r\n\r\nChar_065:\tretlw\t0x18\t; A\r\n\tretlw"
                                  "\t0x24\r\n\tretlw\t0x42\r\n\tretlw\t0x7E\r\n\tretlw\t"
                                  "0x42\r\n\tretlw\t0x42\r\n\tretlw\t0x42\r\n\tretlw\t0x00\r\n");
    // A's five left columns, bit 0 the top pixel. pic-as's DB places one byte to an address, so
    // the odd line is not padded as MPASM's db is.
    QTest::newRow("PIC18 columns 5")
        << false << GlyphLayout {ByteOrder::Columns, 5} << QByteArray("10 bytes")
        << QByteArray("\tGLOBAL\tChar_065\r\n\tPSECT\tglyphFont,class=CONST,space=0\r\n\r\n"
                      "Char_065:\tDB\t0x00, 0x7C, 0x0A, 0x09, 0x09\t; A\r\n");
    QTest::newRow("PIC16 columns-msb 5")
        << true << GlyphLayout {ByteOrder::ColumnsMsb, 5} << QByteArray("10 retlw words")
        << QByteArray("\tGLOBAL\tChar_065\r\n\tPSECT\tglyphFont,class=CODE,delta=2\r\n\r\n"
                      "Char_065:\tretlw\t0x00\t; A\r\n\tretlw\t0x3E\r\n\tretlw\t0x50\r\n"
                      "\tretlw\t0x90\r\n\tretlw\t0x90\r\n");
}

// pic-as's psect, GLOBAL and labels with colons after the header, which names the assembler and
// states the layout; the last line ends too.
void TestAsmExport::picAsTables()
{
    QFETCH(bool, pic16);
    QFETCH(GlyphLayout, layout);
    QFETCH(QByteArray, size);
    QFETCH(QByteArray, table);
    FontImage font {};
    setGlyph(font, 65, CapitalA);
    const QByteArray source = asmSource(
        font, "f.pf",
        {pic16 ? PicTarget::Pic16 : PicTarget::Pic18, {65, 66}, AsmSyntax::PicAs, layout});
    QVERIFY(source.startsWith("\r\n; Font: f.pf\r\n; Syntax: pic-as, the MPLAB XC8 PIC "));
    QCOMPARE(source.contains("\r\n; Layout: " + layoutText(layout).toLatin1() + ".\r\n"),
             !layout.isFileOrder());
    QVERIFY(!source.contains("fills whole program words"));
    QVERIFY(source.contains("; Codes 65 to 66 only: 2 characters, " + size
                            + " from Char_065; subtract 65 from a code.\r\n\r\n" + table
                            + "Char_066:\t"));
    QVERIFY(source.endsWith(pic16 ? "\tretlw\t0x00\r\n" : "\t; B\r\n"));
}

// Intel HEX records of type 0 (data) and 4 (upper address) into a byte map.
QMap<quint32, quint8> readIntelHex(const QByteArray &text)
{
    QMap<quint32, quint8> memory;
    quint32 upper = 0;
    for (const QByteArray &line : text.split('\n')) {
        const QByteArray record = QByteArray::fromHex(line.trimmed().mid(1));
        if (record.size() < 5)
            continue;
        const int count = quint8(record[0]);
        const quint32 address = (quint8(record[1]) << 8) | quint8(record[2]);
        const QByteArray data = record.mid(4, count);
        if (record[3] == 4)
            upper = ((quint8(data[0]) << 8) | quint8(data[1])) << 16;
        else if (record[3] == 0)
            for (int i = 0; i < count; ++i)
                memory[upper + address + i] = quint8(data[i]);
    }
    return memory;
}

void TestAsmExport::assemblesToTheFontBytes_data()
{
    QTest::addColumn<QString>("processor");
    QTest::addColumn<bool>("pic16");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("opcode"); // a word's high byte; -1 for PIC18 bytes
    QTest::newRow("PIC18") << "18f452" << false << 0 << 255 << -1;
    QTest::newRow("PIC18 32-127") << "18f4550" << false << 32 << 127 << -1;
    QTest::newRow("mid-range") << "16f877a" << true << 0 << 255 << 0x34;
    QTest::newRow("enhanced 32-127") << "16f1847" << true << 32 << 127 << 0x34;
    QTest::newRow("12-bit core") << "16f57" << true << 0 << 255 << 0x08;
}

// What gpasm makes of each form, decoded here on its own: PIC18 bytes as they are, and on the
// smaller cores one retlw per byte, with no message that a word was truncated.
void TestAsmExport::assemblesToTheFontBytes()
{
    QFETCH(QString, processor);
    QFETCH(bool, pic16);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(int, opcode);
    const QString gpasm = QStandardPaths::findExecutable(QStringLiteral("gpasm"));
    if (gpasm.isEmpty())
        QSKIP("needs gpasm (Debian package gputils)");
    FontImage font {};
    for (int i = 0; i < FontFileSize; ++i)
        font[i] = static_cast<std::uint8_t>((i * 149 + 7) ^ (i >> 3));
    QTemporaryDir dir;
    QFile source(dir.filePath(QStringLiteral("font.asm")));
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write(asmSource(
        font, QStringLiteral("big.pf"),
        {pic16 ? PicTarget::Pic16 : PicTarget::Pic18, {first, last}, AsmSyntax::Mpasm, {}}));
    source.close();
    QFile main(dir.filePath(QStringLiteral("main.asm")));
    QVERIFY(main.open(QIODevice::WriteOnly));
    main.write("\torg 0\n#include \"font.asm\"\n\tend\n");
    main.close();

    QProcess assembler;
    assembler.setWorkingDirectory(dir.path());
    assembler.setProcessChannelMode(QProcess::MergedChannels);
    assembler.start(gpasm, {QStringLiteral("-p"), processor, QStringLiteral("main.asm")});
    QVERIFY(finishedInTime(assembler));
    const QByteArray log = assembler.readAll();
    QVERIFY2(assembler.exitCode() == 0 && log.isEmpty(), log.constData());
    QFile hex(dir.filePath(QStringLiteral("main.hex")));
    QVERIFY(hex.open(QIODevice::ReadOnly));
    const QMap<quint32, quint8> memory = readIntelHex(hex.readAll());
    const int bytes = (last - first + 1) * 8;
    const int stride = opcode < 0 ? 1 : 2;
    QCOMPARE(memory.size(), stride * bytes);
    for (int i = 0; i < bytes; ++i) {
        QCOMPARE(int(memory.value(stride * i)), int(font[first * 8 + i]));
        if (opcode >= 0)
            QCOMPARE(int(memory.value(2 * i + 1)), opcode);
    }
}

QTEST_APPLESS_MAIN(TestAsmExport)
#include "tst_asmexport.moc"
