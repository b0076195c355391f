#include "core/asmexport.h"
#include "export/exportcommand.h"
#include "support.h"

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

void TestAsmExport::assemblesToTheFontBytes()
{
    const QString gpasm = QStandardPaths::findExecutable(QStringLiteral("gpasm"));
    if (gpasm.isEmpty())
        QSKIP("needs gpasm (Debian package gputils)");
    FontImage font {};
    for (int i = 0; i < FontFileSize; ++i)
        font[i] = static_cast<std::uint8_t>((i * 149 + 7) ^ (i >> 3));
    QTemporaryDir dir;
    QFile source(dir.filePath(QStringLiteral("font.asm")));
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write(asmSource(font, QStringLiteral("big.pf")));
    source.close();
    QFile main(dir.filePath(QStringLiteral("main.asm")));
    QVERIFY(main.open(QIODevice::WriteOnly));
    main.write("\tprocessor 18f452\n\torg 0\n#include \"font.asm\"\n\tend\n");
    main.close();

    QProcess assembler;
    assembler.setWorkingDirectory(dir.path());
    assembler.start(gpasm, {QStringLiteral("main.asm")});
    QVERIFY(assembler.waitForFinished(30000));
    QVERIFY2(assembler.exitCode() == 0, assembler.readAll().constData());
    QFile hex(dir.filePath(QStringLiteral("main.hex")));
    QVERIFY(hex.open(QIODevice::ReadOnly));
    const QMap<quint32, quint8> memory = readIntelHex(hex.readAll());
    QCOMPARE(memory.size(), FontFileSize);
    for (int i = 0; i < FontFileSize; ++i)
        QCOMPARE(int(memory.value(i)), int(font[i]));
}

QTEST_APPLESS_MAIN(TestAsmExport)
#include "tst_asmexport.moc"
