#include "editor/detailspanel.h"
#include "editor/fontdocument.h"
#include "editor/pixelsquare.h"
#include "glyphcell/fontchar.h"
#include "support/support.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

// The pixel grid as a view of the document's working copy: toggles, row values, preview, paste,
// clear and invert.
class TestDetailsPanel final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void rowValues_data();
    void rowValues();
    void clickTwiceRestores();
    void loadShowsBitmapOnBlankGrid();
    void loadTwiceIsExclusiveOr();
    void blankLoadClicksNothing();
    void invertComplementsEveryRow();
    void clearBlanksEverything();
    void squaresFollowTheDocument();
    void squaresNameTheirPixel();
    void keyboardToggles();

private:
    PixelSquare *square(int index) const
    {
        return m_panel->findChild<PixelSquare *>(QStringLiteral("picPixel(%1)").arg(index));
    }
    QString dec(int row) const
    {
        return m_panel->findChild<QLabel *>(QStringLiteral("lblDecValue(%1)").arg(row))->text();
    }
    QString hex(int row) const
    {
        return m_panel->findChild<QLabel *>(QStringLiteral("lblHexValue(%1)").arg(row))->text();
    }
    CharBitMap gridBits() const
    {
        CharBitMap bits {};
        for (int i = 0; i < 64; ++i)
            if (square(i)->isInk())
                bits[i / 8] |= 0x80 >> (i % 8);
        return bits;
    }
    // Labels and preview agree with the grid.
    void verifyConsistent(const CharBitMap &expected) const
    {
        QCOMPARE(gridBits(), expected);
        QCOMPARE(m_panel->CurrentFontChar()->BitMap(), expected);
        for (int r = 0; r < 8; ++r) {
            QCOMPARE(dec(r), QString::number(expected[r]));
            QCOMPARE(hex(r), QString::asprintf("0x%02X", expected[r]));
        }
    }

    std::unique_ptr<QWidget> m_owner;
    FontDocument *m_document = nullptr;
    DetailsPanel *m_panel = nullptr;
};

void TestDetailsPanel::init()
{
    m_owner = std::make_unique<QWidget>();
    m_document = new FontDocument(m_owner.get());
    m_panel = new DetailsPanel(m_document, m_owner.get());
    m_panel->CurrentFontChar()->Pack();
    m_owner->resize(600, 400);
    m_owner->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_owner.get()));
}

void TestDetailsPanel::cleanup()
{
    m_owner.reset();
}

void TestDetailsPanel::rowValues_data()
{
    QTest::addColumn<QList<int>>("squares");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("hexadecimal");
    QTest::newRow("top-left weighs 128") << QList<int> {0} << 0 << "128"
                                         << "0x80";
    QTest::newRow("bottom-right weighs 1") << QList<int> {63} << 7 << "1"
                                           << "0x01";
    QTest::newRow("full row") << QList<int> {24, 25, 26, 27, 28, 29, 30, 31} << 3 << "255"
                              << "0xFF";
    QTest::newRow("ten keeps the zero") << QList<int> {44, 46} << 5 << "10"
                                        << "0x0A";
}

void TestDetailsPanel::rowValues()
{
    QFETCH(QList<int>, squares);
    QFETCH(int, row);
    QFETCH(QString, decimal);
    QFETCH(QString, hexadecimal);
    for (int index : squares)
        QTest::mouseClick(square(index), Qt::LeftButton);
    QCOMPARE(dec(row), decimal);
    QCOMPARE(hex(row), hexadecimal);
    CharBitMap expected {};
    expected[row] = static_cast<std::uint8_t>(decimal.toInt());
    verifyConsistent(expected);
}

void TestDetailsPanel::clickTwiceRestores()
{
    m_document->paste(CapitalA);
    QTest::mouseClick(square(19), Qt::LeftButton);
    QVERIFY(gridBits() != CapitalA);
    QTest::mouseClick(square(19), Qt::LeftButton);
    verifyConsistent(CapitalA);
}

void TestDetailsPanel::loadShowsBitmapOnBlankGrid()
{
    m_document->paste(CapitalA);
    verifyConsistent(CapitalA);
    // The preview is drawn like a palette cell: each glyph pixel a 2 x 2 block.
    const QImage preview = m_panel->CurrentFontChar()->Picture();
    QCOMPARE(preview.pixelColor(6, 0),
             m_panel->CurrentFontChar()->palette().color(QPalette::WindowText));
    QCOMPARE(preview.pixelColor(0, 0), QColor(Qt::white));
}

void TestDetailsPanel::loadTwiceIsExclusiveOr()
{
    const CharBitMap other {0xFF, 0, 0, 0, 0, 0, 0, 0x0F};
    m_document->paste(CapitalA);
    m_document->paste(other);
    CharBitMap xored {};
    for (int r = 0; r < 8; ++r)
        xored[r] = CapitalA[r] ^ other[r];
    verifyConsistent(xored);
    m_document->paste(other);
    verifyConsistent(CapitalA);
}

void TestDetailsPanel::blankLoadClicksNothing()
{
    QTest::mouseClick(square(0), Qt::LeftButton);
    m_document->paste(CharBitMap {});
    verifyConsistent(CharBitMap {0x80, 0, 0, 0, 0, 0, 0, 0});
}

void TestDetailsPanel::invertComplementsEveryRow()
{
    m_document->invertEditor();
    verifyConsistent(CharBitMap {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    m_document->paste(CapitalA);
    m_document->invertEditor();
    // Every row v becomes 255 - v: the full grid xor A, inverted, is A again.
    verifyConsistent(CapitalA);
    m_document->invertEditor();
    CharBitMap back {};
    for (int r = 0; r < 8; ++r)
        back[r] = 0xFF ^ CapitalA[r];
    verifyConsistent(back);
}

void TestDetailsPanel::clearBlanksEverything()
{
    m_document->select(65);
    m_document->paste(CapitalA);
    QCOMPARE(m_panel->findChild<QLabel *>("lblSelectedChar")->text(), "Char: A / 65 / 0x41");
    m_panel->CurrentFontChar()->setBackColor(Qt::green);
    m_document->clearEditor();
    verifyConsistent(CharBitMap {});
    QCOMPARE(m_panel->findChild<QLabel *>("lblSelectedChar")->text(), QString());
    QCOMPARE(m_panel->CurrentFontChar()->BackColor(), QColor(Qt::white));
    for (int i = 0; i < 64; ++i)
        QCOMPARE(square(i)->color(), QColor(Qt::white));
}

void TestDetailsPanel::squaresFollowTheDocument()
{
    // A square shows the document's pixel, whatever it showed before.
    square(9)->setColor(QColor(1, 0, 0));
    m_document->togglePixel(0);
    verifyConsistent(CharBitMap {0x80, 0, 0, 0, 0, 0, 0, 0});
    QCOMPARE(square(9)->color(), QColor(Qt::white));
}

void TestDetailsPanel::squaresNameTheirPixel()
{
    QCOMPARE(square(29)->accessibleName(), QStringLiteral("Row 3, column 5: clear"));
    QTest::mouseClick(square(29), Qt::LeftButton);
    QCOMPARE(square(29)->accessibleName(), QStringLiteral("Row 3, column 5: ink"));
}

void TestDetailsPanel::keyboardToggles()
{
    m_owner->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_owner.get()));
    square(7)->setFocus();
    QTest::keyClick(square(7), Qt::Key_Space);
    verifyConsistent(CharBitMap {0x01, 0, 0, 0, 0, 0, 0, 0});
}

QTEST_MAIN(TestDetailsPanel)
#include "tst_detailspanel.moc"
