#include "formats/fonttext.h"
#include "support/support.h"

#include <QTest>

namespace {
QList<QByteArray> lines(const QByteArray &text)
{
    return text.split('\n');
}

// The text of a font with one line replaced (1-based).
QByteArray withLine(const QByteArray &text, int number, const QByteArray &line)
{
    QList<QByteArray> all = lines(text);
    all[number - 1] = line;
    return all.join('\n');
}

// The line number of a character's heading in fontText(): two comment lines, then a blank
// line, the heading and eight rows for each character.
int headingLine(int code)
{
    return 2 + code * 10 + 2;
}
} // namespace

// The font's text form: drawn pixels, exact inverse, and errors that name the line.
class TestFontText final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rowPixels_data();
    void rowPixels();
    void roundTripsRandomFonts_data();
    void roundTripsRandomFonts();
    void toleratesBlankLinesCommentsAndCrLf();
    void rejectsWithTheLine_data();
    void rejectsWithTheLine();
};

void TestFontText::rowPixels_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("row");
    QTest::newRow("blank") << 0x00 << QByteArray("........ 0x00");
    QTest::newRow("bit 7 leftmost") << 0x80 << QByteArray("#....... 0x80");
    QTest::newRow("bit 0 rightmost") << 0x01 << QByteArray(".......# 0x01");
    QTest::newRow("upper-case hex") << 0xAB << QByteArray("#.#.#.## 0xAB");
    QTest::newRow("full") << 0xFF << QByteArray("######## 0xFF");
}

void TestFontText::rowPixels()
{
    QFETCH(int, value);
    QFETCH(QByteArray, row);
    FontImage font {};
    font[65 * 8 + 3] = static_cast<std::uint8_t>(value);
    const QList<QByteArray> all = lines(fontText(font));
    QCOMPARE(all[headingLine(65) - 1], "Char: A / 65 / 0x41");
    QCOMPARE(all[headingLine(65) - 1 + 4], row);
}

void TestFontText::roundTripsRandomFonts_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {1u, 2u, 3u, 42u, 2048u})
        QTest::addRow("seed %u", seed) << seed;
}

void TestFontText::roundTripsRandomFonts()
{
    QFETCH(quint32, seed);
    const FontImage font = randomFont(seed);
    const FontTextParse parsed = parseFontText(fontText(font));
    QCOMPARE(parsed.error, QString());
    QCOMPARE(fontFileBytes(parsed.font), fontFileBytes(font));
}

void TestFontText::toleratesBlankLinesCommentsAndCrLf()
{
    const FontImage font = randomFont(7);
    QByteArray text = fontText(font);
    text.replace("\nChar: A", "\n\n  ; drawn by hand\n\t\nChar: A");
    text.replace('\n', "\r\n");
    text.prepend("\xEF\xBB\xBF"); // as Windows editors save UTF-8
    const FontTextParse parsed = parseFontText(text);
    QCOMPARE(parsed.error, QString());
    QCOMPARE(fontFileBytes(parsed.font), fontFileBytes(font));
}

void TestFontText::rejectsWithTheLine_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reason");
    const QByteArray good = fontText(randomFont(9));
    const int rowOfA = headingLine(65) + 1;
    QTest::newRow("empty") << QByteArray() << 1 << "character 0 is missing";
    QTest::newRow("a font file") << fontFileBytes(randomFont(9)).prepend("x") << 1
                                 << "expected the heading \"Char: . / 0 / 0x00\"";
    QTest::newRow("wrong heading") << withLine(good, headingLine(65), "Char: B / 66 / 0x42")
                                   << headingLine(65) << "expected the heading \"Char: A";
    QTest::newRow("pixel not # or .")
        << withLine(good, rowOfA, "..x..... 0x00") << rowOfA << "not 'x'";
    QTest::newRow("byte disagrees") << withLine(good, rowOfA, "#....... 0x81") << rowOfA
                                    << "the pixels are 0x80 but the row says \"0x81\"";
    QTest::newRow("seven pixels") << withLine(good, rowOfA, "#...... 0x80") << rowOfA
                                  << "expected a row of 8 pixels";
    QTest::newRow("a row too few")
        << withLine(good, rowOfA, "") + "" << headingLine(66) << "expected a row of 8 pixels";
    QTest::newRow("ends inside a character")
        << good.left(good.indexOf("Char: A") + 20 + 2 * 14) << headingLine(65) + 3
        << "character 65 has only 2 of its 8 rows";
    QTest::newRow("only some characters")
        << fontText(randomFont(9), {32, 127}) << 4 << "the text starts at character 32";
    QTest::newRow("after the last") << good + "Char: . / 256 / 0x100\n"
                                    << headingLine(256) - 1 << "text after the last character";
}

void TestFontText::rejectsWithTheLine()
{
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    QFETCH(QString, reason);
    const FontTextParse parsed = parseFontText(text);
    QVERIFY2(parsed.error.contains(reason), qPrintable(parsed.error));
    QCOMPARE(parsed.errorLine, line);
}

QTEST_APPLESS_MAIN(TestFontText)
#include "tst_fonttext.moc"
