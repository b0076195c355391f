#include "editor/formlayout.h"

#include <QTest>

namespace {
const QSizeF Panel(6975, 2295); // twips
}

// Where start-up places the palette and the panel, for a given number of twips per pixel.
class TestFormLayout final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cellPositions_data();
    void cellPositions();
    void fifteenTwipsFitsThePalette();
    void twelveTwipsFitsThePanel();
};

void TestFormLayout::cellPositions_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QPoint>("pixels");
    QTest::newRow("0") << 0 << QPoint(0, 0);
    QTest::newRow("29 ends row 0") << 29 << QPoint(551, 0);
    QTest::newRow("30 starts row 1") << 30 << QPoint(0, 19);
    QTest::newRow("239 ends row 7") << 239 << QPoint(551, 133);
    QTest::newRow("240 starts row 8") << 240 << QPoint(0, 152);
    QTest::newRow("255") << 255 << QPoint(285, 152);
}

void TestFormLayout::cellPositions()
{
    QFETCH(int, code);
    QFETCH(QPoint, pixels);
    const FormLayout layout = layoutForm(15, 15, Panel);
    QCOMPARE(layout.cells[code], QRectF(pixels.x() * 15, pixels.y() * 15, 270, 270));
}

void TestFormLayout::fifteenTwipsFitsThePalette()
{
    const FormLayout layout = layoutForm(15, 15, Panel);
    QCOMPARE(layout.clientWidth, 8535.0);
    QCOMPARE(layout.panelPos, QPointF((8535 - 6975) / 2.0, 2700));
    QCOMPARE(layout.clientHeight, 2700 + 2295.0);
}

void TestFormLayout::twelveTwipsFitsThePanel()
{
    const FormLayout layout = layoutForm(12, 12, Panel);
    const QRectF &last = layout.cells[29];
    QCOMPARE(last.left() + last.width(), 6828.0);
    QCOMPARE(layout.clientWidth, 6975.0);
    QCOMPARE(layout.panelPos.x(), 0.0);
    // Still 10 pixels below the palette's last row.
    QCOMPARE(layout.panelPos.y(), layout.cells[255].bottom() + 10 * 12);
    QCOMPARE(layout.clientHeight, layout.panelPos.y() + 2295);
}

QTEST_APPLESS_MAIN(TestFormLayout)
#include "tst_formlayout.moc"
