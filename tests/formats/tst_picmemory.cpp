#include "formats/picmemory.h"
#include "support/support.h"

#include <QTest>

// The memory an assembler makes of a table: its Intel HEX file, and the font firmware reads from
// it on each core.
class TestPicMemory final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void intelHex_data();
    void intelHex();
    void assembledWords_data();
    void assembledWords();
};

void TestPicMemory::intelHex_data()
{
    QTest::addColumn<QByteArray>("hex");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("value");
    QTest::newRow("data") << QByteArray(":04001000182442006E\n:00000001FF\n") << QString() << 0x12
                          << 0x42;
    QTest::newRow("linear base") << QByteArray(
        ":020000040001F9\r\n:0100020055A8\r\n:00000001FF\r\n")
                                 << QString() << 0x10002 << 0x55;
    QTest::newRow("bad checksum") << QByteArray(":04001000182442006F\n:00000001FF\n")
                                  << "line 1 has a wrong checksum" << -1 << 0;
    QTest::newRow("short record") << QByteArray(":0400100018\n")
                                  << "line 1 is not an Intel HEX record" << -1 << 0;
    // Base 0xFFFF0000 plus offset 0xFFFF: the second byte would wrap round to address 0.
    QTest::newRow("past 32 bits") << QByteArray(":02000004FFFFFC\n:02FFFF00AABB9B\n:00000001FF\n")
                                  << "line 2 holds data past the 32-bit address range" << -1 << 0;
}

void TestPicMemory::intelHex()
{
    QFETCH(QByteArray, hex);
    QFETCH(QString, error);
    QFETCH(int, address);
    QFETCH(int, value);
    const HexImage image = parseIntelHex(hex);
    QCOMPARE(image.error, error);
    if (address >= 0)
        QCOMPARE(int(image.bytes.value(quint32(address))), value);
}

void TestPicMemory::assembledWords_data()
{
    // Hex bytes from address 0, two per word (low first) on the smaller cores.
    QTest::addColumn<QByteArray>("memory");
    QTest::addColumn<int>("core");
    QTest::addColumn<QString>("error");
    const QByteArray glyph = QByteArray::fromHex("1824427E42424200");
    QByteArray words14, words12;
    for (const char byte : glyph) {
        words14 += byte + QByteArray("\x34");
        words12 += byte + QByteArray("\x08");
    }
    QTest::newRow("PIC18 bytes") << glyph << int(PicCore::Pic18) << "";
    QTest::newRow("14-bit retlw") << words14 << int(PicCore::Bits14) << "";
    QTest::newRow("12-bit retlw") << words12 << int(PicCore::Bits12) << "";
    QTest::newRow("a movlw among them")
        << QByteArray(words14).replace(6, 2, "\x7E\x30") << int(PicCore::Bits14)
        << "the word at 0x3 (Char_065, row 3) is 0x307E, not a retlw";
    QTest::newRow("one word short") << words14.left(14) << int(PicCore::Bits14) << "7 words, not 8";
    QTest::newRow("a word past the table")
        << words14 + QByteArray("\x00\x34", 2) << int(PicCore::Bits14)
        << "memory past the table's 8 words, at address 0x8";
}

void TestPicMemory::assembledWords()
{
    QFETCH(QByteArray, memory);
    QFETCH(int, core);
    QFETCH(QString, error);
    HexImage hex;
    for (int at = 0; at < memory.size(); ++at)
        hex.bytes.insert(quint32(at), quint8(memory[at]));
    const AssembledFont read = assembledFont(hex, PicCore(core), CodeRange {65, 65});
    QCOMPARE(read.error, error);
    if (error.isEmpty())
        QCOMPARE(glyphOf(read.font, 65), CapitalA);
    // The word "retlw 0x5A" assembles to tells the core: 0x085A, 0x345A or 0x0C5A.
    const int high[] = {0x08, 0x34, 0x0C};
    QCOMPARE(picCoreOfRetlw(quint16(high[core] << 8 | 0x5A)), PicCore(core));
}

QTEST_APPLESS_MAIN(TestPicMemory)
#include "tst_picmemory.moc"
