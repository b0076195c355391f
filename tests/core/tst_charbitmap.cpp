#include "core/charbitmap.h"

#include <QTest>

// The display texts shared by tooltips, the selected-character label and the export.
class TestCharBitMap final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void displayText_data();
    void displayText();
    void hexByte_data();
    void hexByte();
    void description_data();
    void description();
    void columnBitOrder();
};

void TestCharBitMap::displayText_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << ".";
    QTest::newRow("31") << 31 << ".";
    QTest::newRow("32 space") << 32 << " ";
    QTest::newRow("48") << 48 << "0";
    QTest::newRow("65") << 65 << "A";
    QTest::newRow("126") << 126 << "~";
    QTest::newRow("127") << 127 << ".";
    QTest::newRow("128") << 128 << ".";
    QTest::newRow("255") << 255 << ".";
}

void TestCharBitMap::displayText()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(CharDisplayText(code), text);
}

void TestCharBitMap::hexByte_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << "0x00";
    QTest::newRow("ten") << 10 << "0x0A";
    QTest::newRow("leading zero") << 0x0F << "0x0F";
    QTest::newRow("upper case") << 0xAB << "0xAB";
    QTest::newRow("max") << 255 << "0xFF";
}

void TestCharBitMap::hexByte()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(::hexByte(value), text);
}

void TestCharBitMap::description_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "Char: . / 0 / 0x00";
    QTest::newRow("10") << 10 << "Char: . / 10 / 0x0A";
    QTest::newRow("32") << 32 << "Char:   / 32 / 0x20";
    QTest::newRow("37 percent") << 37 << "Char: % / 37 / 0x25";
    QTest::newRow("65") << 65 << "Char: A / 65 / 0x41";
    QTest::newRow("126") << 126 << "Char: ~ / 126 / 0x7E";
    QTest::newRow("127") << 127 << "Char: . / 127 / 0x7F";
    QTest::newRow("255") << 255 << "Char: . / 255 / 0xFF";
}

void TestCharBitMap::description()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(charDescription(code), text);
}

void TestCharBitMap::columnBitOrder()
{
    QCOMPARE(columnBit(0), 0x80);
    QCOMPARE(columnBit(7), 0x01);
}

QTEST_APPLESS_MAIN(TestCharBitMap)
#include "tst_charbitmap.moc"
