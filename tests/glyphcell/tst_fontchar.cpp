#include "glyphcell/fontchar.h"
#include "support/support.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>

namespace {
QColor ink(const FontChar &cell)
{
    return cell.palette().color(QPalette::WindowText);
}

// Every picture pixel is ink exactly where its glyph bit is set, else the background.
void verifyPicture(const FontChar &cell, const CharBitMap &bits, const QColor &background)
{
    const QImage picture = cell.Picture();
    QCOMPARE(picture.size(), QSize(16, 16));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool set = bits[y / 2] & (0x80 >> (x / 2));
            const QColor expected = set ? ink(cell) : background;
            if (picture.pixelColor(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3")
                                     .arg(x)
                                     .arg(y)
                                     .arg(picture.pixelColor(x, y).name())));
        }
    }
}
} // namespace

// The glyph cell: its stored bitmap, background and the picture drawn from them.
class TestFontChar final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newCellIsBlankAndWhite();
    void pixelPlacement_data();
    void pixelPlacement();
    void backColorKeepsGlyph();
    void clearResetsOrKeepsBackground();
    void returnsAndStoresCopies();
    void packGivesEighteenPixels();
    void tooltipIsAccessibleDescription();
    void announcesFocusAndClicks();
    void paintsPictureCrisply();
};

void TestFontChar::newCellIsBlankAndWhite()
{
    QWidget owner;
    FontChar cell(3, &owner);
    QCOMPARE(cell.BitMap(), CharBitMap {});
    QCOMPARE(cell.BackColor(), QColor(Qt::white));
    QCOMPARE(cell.ToolTip(), QString());
    verifyPicture(cell, {}, Qt::white);
}

void TestFontChar::pixelPlacement_data()
{
    QTest::addColumn<CharBitMap>("bits");
    QTest::newRow("top-left 0x80") << CharBitMap {0x80, 0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("bottom-right 0x01") << CharBitMap {0, 0, 0, 0, 0, 0, 0, 0x01};
    QTest::newRow("capital A") << CapitalA;
    QTest::newRow("all ink") << CharBitMap {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    QTest::newRow("diagonal") << CharBitMap {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
}

void TestFontChar::pixelPlacement()
{
    QFETCH(CharBitMap, bits);
    QWidget owner;
    FontChar cell(0, &owner);
    cell.Pack();
    cell.DrawChar(bits);
    QCOMPARE(cell.BitMap(), bits);
    verifyPicture(cell, bits, Qt::white);
}

void TestFontChar::backColorKeepsGlyph()
{
    QWidget owner;
    FontChar cell(0, &owner);
    cell.setBackColor(Green);
    cell.DrawChar(CapitalA);
    QCOMPARE(cell.BackColor(), Green);
    QCOMPARE(cell.BitMap(), CapitalA);
    verifyPicture(cell, CapitalA, Green);

    // A new background under a glyph that is already there keeps the glyph visible.
    cell.setBackColor(Qt::white);
    verifyPicture(cell, CapitalA, Qt::white);
}

void TestFontChar::clearResetsOrKeepsBackground()
{
    QWidget owner;
    FontChar cell(0, &owner);
    cell.setBackColor(Green);
    cell.DrawChar(CapitalA);
    cell.Clear(false);
    QCOMPARE(cell.BackColor(), Green);
    QCOMPARE(cell.BitMap(), CharBitMap {});
    verifyPicture(cell, {}, Green);

    cell.DrawChar(CapitalA);
    cell.Clear();
    QCOMPARE(cell.BackColor(), QColor(Qt::white));
    QCOMPARE(cell.BitMap(), CharBitMap {});
    verifyPicture(cell, {}, Qt::white);
}

void TestFontChar::returnsAndStoresCopies()
{
    QWidget owner;
    FontChar cell(0, &owner);
    CharBitMap given = CapitalA;
    cell.DrawChar(given);
    given[0] = 0xFF;
    CharBitMap taken = cell.BitMap();
    taken[1] = 0xFF;
    QCOMPARE(cell.BitMap(), CapitalA);

    QImage picture = cell.Picture();
    picture.fill(Qt::red);
    verifyPicture(cell, CapitalA, Qt::white);
}

void TestFontChar::packGivesEighteenPixels()
{
    QWidget owner;
    FontChar cell(0, &owner);
    cell.setGeometry(0, 0, 15, 15);
    cell.Pack();
    QCOMPARE(cell.size(), QSize(18, 18));
    cell.Pack();
    QCOMPARE(cell.size(), QSize(18, 18));
    // Pack neither clears nor repaints the glyph.
    cell.DrawChar(CapitalA);
    cell.Pack();
    QCOMPARE(cell.BitMap(), CapitalA);
}

void TestFontChar::tooltipIsAccessibleDescription()
{
    QWidget owner;
    FontChar cell(65, &owner);
    cell.setToolTip(QStringLiteral("Char: A / 65 / 0x41"));
    QCOMPARE(cell.ToolTip(), QStringLiteral("Char: A / 65 / 0x41"));
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&cell);
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Description), QStringLiteral("Char: A / 65 / 0x41"));
}

void TestFontChar::announcesFocusAndClicks()
{
    QWidget owner;
    auto *first = new FontChar(7, &owner);
    auto *second = new FontChar(8, &owner);
    second->move(20, 0);
    for (FontChar *cell : {first, second})
        cell->Pack();
    QVERIFY(showActive(&owner));

    QSignalSpy focused(second, &FontChar::gotFocus);
    QSignalSpy clicked(second, &FontChar::clicked);
    QTest::mouseClick(second, Qt::LeftButton);
    QCOMPARE(focused.size(), 1);
    QCOMPARE(focused.constFirst().constFirst().toInt(), 8);
    // A second click on the focused cell raises no focus event but is still a click.
    QTest::mouseClick(second, Qt::LeftButton);
    QCOMPARE(focused.size(), 1);
    QCOMPARE(clicked.size(), 2);

    QSignalSpy firstFocused(first, &FontChar::gotFocus);
    QTest::keyClick(second, Qt::Key_Backtab);
    QCOMPARE(firstFocused.size(), 1);
}

void TestFontChar::paintsPictureCrisply()
{
    // At twice the device pixel ratio each glyph pixel must still be a hard-edged block.
    QWidget owner;
    FontChar cell(0, &owner);
    cell.Pack();
    cell.DrawChar(CharBitMap {0x80, 0, 0, 0, 0, 0, 0, 0});
    QPixmap canvas(18 * 2, 18 * 2);
    canvas.setDevicePixelRatio(2);
    cell.render(&canvas);
    const QImage image = canvas.toImage();
    const QColor inkColour = ink(cell);
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x)
            QCOMPARE(image.pixelColor(x, y), inkColour);
    QCOMPARE(image.pixelColor(6, 2), QColor(Qt::white));
    QCOMPARE(image.pixelColor(2, 6), QColor(Qt::white));
}

QTEST_MAIN(TestFontChar)
#include "tst_fontchar.moc"
