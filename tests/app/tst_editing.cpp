#include "app/frmmain.h"
#include "editor/detailspanel.h"
#include "editor/fontdocument.h"
#include "editor/pixelsquare.h"
#include "glyphcell/fontchar.h"
#include "support/support.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <memory>

// Selecting characters in the palette and the five tools, driven as a user drives them.
class TestEditing final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startsWithCharacterZeroSelected();
    void clickSelectsAndMovesHighlight();
    void reselectingKeepsUnappliedEdits();
    void selectingAnotherDiscardsEdits();
    void newLeavesSelectionAndFocusTogether();
    void tabSelectsNextCell();
    void applyWritesIntoSelectedCell();
    void applyWithoutSelectionDoesNothing();
    void applyAfterClearBlanksCell();
    void invertTwiceRestores();
    void copyPasteApplyLandsInNewCell();
    void pasteTwiceAndOntoSameCharacter();
    void pasteAfterStartupChangesNothing();
    void copyPutsPictureOnClipboard();
    void editMenuNamesTheStep();

private:
    FontChar *cell(int index) const { return m_window->SelFontChar(index); }
    PixelSquare *square(int index) const
    {
        return m_window->findChild<PixelSquare *>(QStringLiteral("picPixel(%1)").arg(index));
    }
    CharBitMap preview() const { return m_window->detailsPanel()->CurrentFontChar()->BitMap(); }
    QString selectedLabel() const
    {
        return m_window->findChild<QLabel *>(QStringLiteral("lblSelectedChar"))->text();
    }
    // An access key clicks its button after the button's short press animation.
    void pressAlt(Qt::Key key)
    {
        static const QHash<int, QString> buttons {{Qt::Key_A, "btnOK"},
                                                  {Qt::Key_L, "btnClear"},
                                                  {Qt::Key_I, "btnInvert"},
                                                  {Qt::Key_C, "btnCopy"},
                                                  {Qt::Key_P, "btnPaste"}};
        auto *button = m_window->findChild<QAbstractButton *>(buttons.value(key));
        QSignalSpy clicked(button, &QAbstractButton::clicked);
        QTest::keyClick(m_window.get(), key, Qt::AltModifier);
        QTRY_COMPARE(clicked.size(), 1);
    }
    // Draws a glyph on a blank grid square by square.
    void draw(const CharBitMap &glyph)
    {
        for (int i = 0; i < 64; ++i)
            if (glyph[i / 8] & (0x80 >> (i % 8)))
                QTest::mouseClick(square(i), Qt::LeftButton);
    }
    void select(int index) { QTest::mouseClick(cell(index), Qt::LeftButton); }
    void verifyOnlyGreen(int index)
    {
        for (int i = 0; i < 256; ++i)
            QCOMPARE(cell(i)->BackColor(), i == index ? Green : QColor(Qt::white));
    }
    void resetFont() { m_window->ResetFont(); }

    std::unique_ptr<FakeServices> m_fakes;
    std::unique_ptr<frmMain> m_window;
};

void TestEditing::init()
{
    createOnFakes(m_fakes, m_window);
    QVERIFY(showActive(m_window.get()));
}

void TestEditing::cleanup()
{
    m_window.reset();
    m_fakes.reset();
}

void TestEditing::startsWithCharacterZeroSelected()
{
    QCOMPARE(m_window->SelectedIndex(), 0);
    verifyOnlyGreen(0);
    QCOMPARE(selectedLabel(), QStringLiteral("Char: . / 0 / 0x00"));
    QCOMPARE(preview(), CharBitMap {});
    QCOMPARE(m_window->CopyBuffer(), CharBitMap {});
    QCOMPARE(m_window->windowTitle(), QStringLiteral("8x8 ROM Glyphwright Editor"));
    QCOMPARE(QApplication::focusWidget(), cell(0));
}

void TestEditing::clickSelectsAndMovesHighlight()
{
    m_window->document()->changeGlyphs(QStringLiteral("A"), {{65, CapitalA}});
    select(65);
    QCOMPARE(m_window->SelectedIndex(), 65);
    verifyOnlyGreen(65);
    QCOMPARE(selectedLabel(), QStringLiteral("Char: A / 65 / 0x41"));
    QCOMPARE(preview(), CapitalA);
    QCOMPARE(m_window->findChild<QLabel *>(QStringLiteral("lblHexValue(3)"))->text(), "0x7E");
}

void TestEditing::reselectingKeepsUnappliedEdits()
{
    QTest::mouseClick(square(0), Qt::LeftButton);
    select(0);
    QCOMPARE(preview(), (CharBitMap {0x80, 0, 0, 0, 0, 0, 0, 0}));
    QVERIFY(square(0)->isInk());
}

void TestEditing::selectingAnotherDiscardsEdits()
{
    QTest::mouseClick(square(0), Qt::LeftButton);
    select(66);
    QCOMPARE(preview(), CharBitMap {});
    QVERIFY(!square(0)->isInk());
    QCOMPARE(cell(0)->BitMap(), CharBitMap {});
    verifyOnlyGreen(66);
}

void TestEditing::newLeavesSelectionAndFocusTogether()
{
    select(5);
    QCOMPARE(QApplication::focusWidget(), cell(5));
    m_window->findChild<QAction *>(QStringLiteral("mnuNew"))->trigger();
    QCOMPARE(m_window->SelectedIndex(), 0);
    QCOMPARE(QApplication::focusWidget(), cell(0));
    verifyOnlyGreen(0);
    select(5);
    QCOMPARE(m_window->SelectedIndex(), 5);
    verifyOnlyGreen(5);
}

void TestEditing::tabSelectsNextCell()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(m_window->SelectedIndex(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(m_window->SelectedIndex(), 0);
    verifyOnlyGreen(0);
}

void TestEditing::applyWritesIntoSelectedCell()
{
    select(65);
    draw(CapitalA);
    QCOMPARE(cell(65)->BitMap(), CharBitMap {});
    pressAlt(Qt::Key_A);
    QCOMPARE(cell(65)->BitMap(), CapitalA);
    QCOMPARE(m_window->SelectedIndex(), 65);
    verifyOnlyGreen(65);
    QCOMPARE(preview(), CapitalA);
    for (int i = 0; i < 256; ++i)
        if (i != 65)
            QCOMPARE(cell(i)->BitMap(), CharBitMap {});
}

void TestEditing::applyWithoutSelectionDoesNothing()
{
    resetFont();
    QCOMPARE(m_window->SelectedIndex(), -1);
    draw(CapitalA);
    pressAlt(Qt::Key_A);
    for (int i = 0; i < 256; ++i)
        QCOMPARE(cell(i)->BitMap(), CharBitMap {});
    // The rest of the panel works without a selection.
    pressAlt(Qt::Key_C);
    QCOMPARE(m_window->CopyBuffer(), CapitalA);
    pressAlt(Qt::Key_I);
    pressAlt(Qt::Key_L);
    QCOMPARE(preview(), CharBitMap {});
    pressAlt(Qt::Key_P);
    QCOMPARE(preview(), CapitalA);
}

void TestEditing::applyAfterClearBlanksCell()
{
    m_window->document()->changeGlyphs(QStringLiteral("A"), {{65, CapitalA}});
    select(65);
    pressAlt(Qt::Key_L);
    QCOMPARE(selectedLabel(), QString());
    verifyOnlyGreen(65);
    QCOMPARE(cell(65)->BitMap(), CapitalA);
    pressAlt(Qt::Key_A);
    QCOMPARE(cell(65)->BitMap(), CharBitMap {});
    verifyOnlyGreen(65);
}

void TestEditing::invertTwiceRestores()
{
    select(65);
    draw(CapitalA);
    pressAlt(Qt::Key_I);
    CharBitMap inverted {};
    for (int r = 0; r < 8; ++r)
        inverted[r] = static_cast<std::uint8_t>(255 - CapitalA[r]);
    QCOMPARE(preview(), inverted);
    pressAlt(Qt::Key_I);
    QCOMPARE(preview(), CapitalA);
}

void TestEditing::copyPasteApplyLandsInNewCell()
{
    select(65);
    draw(CapitalA);
    pressAlt(Qt::Key_C);
    QCOMPARE(m_window->CopyBuffer(), CapitalA);
    select(97);
    pressAlt(Qt::Key_L);
    pressAlt(Qt::Key_P);
    QCOMPARE(preview(), CapitalA);
    pressAlt(Qt::Key_A);
    QCOMPARE(cell(97)->BitMap(), CapitalA);
    QCOMPARE(cell(65)->BitMap(), CharBitMap {}); // never applied there
    // The buffer survives New.
    m_window->findChild<QAction *>(QStringLiteral("mnuNew"))->trigger();
    QCOMPARE(m_window->CopyBuffer(), CapitalA);
}

void TestEditing::pasteTwiceAndOntoSameCharacter()
{
    select(65);
    draw(CapitalA);
    pressAlt(Qt::Key_C);
    pressAlt(Qt::Key_P);
    QCOMPARE(preview(), CharBitMap {}); // the same character xor itself
    pressAlt(Qt::Key_P);
    QCOMPARE(preview(), CapitalA);
}

void TestEditing::pasteAfterStartupChangesNothing()
{
    QTest::mouseClick(square(9), Qt::LeftButton);
    const CharBitMap before = preview();
    pressAlt(Qt::Key_P);
    QCOMPARE(preview(), before);
}

void TestEditing::copyPutsPictureOnClipboard()
{
    select(65);
    draw(CapitalA);
    QTest::mouseClick(m_window->findChild<QWidget *>(QStringLiteral("btnCopy")), Qt::LeftButton);
    const QImage image = QApplication::clipboard()->image();
    QCOMPARE(image.size(), QSize(16, 16));
    const QColor ink = cell(65)->palette().color(QPalette::WindowText);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            QCOMPARE(image.pixelColor(x, y),
                     (CapitalA[y / 2] & (0x80 >> (x / 2))) ? ink : QColor(Qt::white));
}

// The Edit menu names the step it would take back or redo, and is disabled with none.
void TestEditing::editMenuNamesTheStep()
{
    auto *undoItem = m_window->findChild<QAction *>(QStringLiteral("mnuUndo"));
    auto *redoItem = m_window->findChild<QAction *>(QStringLiteral("mnuRedo"));
    QVERIFY(!undoItem->isEnabled());
    QVERIFY(!redoItem->isEnabled());
    QCOMPARE(undoItem->text(), QStringLiteral("&Undo"));

    select(65);
    draw(CapitalA);
    pressAlt(Qt::Key_I);
    QCOMPARE(undoItem->text(), QStringLiteral("&Undo Invert"));
    // From the keyboard, also while a square has the focus.
    QTest::mouseClick(square(0), Qt::LeftButton);
    QTest::keySequence(m_window.get(), QKeySequence::Undo);
    QTest::keySequence(m_window.get(), QKeySequence::Undo);
    QCOMPARE(preview(), CapitalA);
    QCOMPARE(redoItem->text(), QStringLiteral("&Redo Invert"));
    QCOMPARE(undoItem->text(), QStringLiteral("&Undo Toggle Pixel"));
    redoItem->trigger();
    redoItem->trigger();
    QVERIFY(!redoItem->isEnabled());
    QCOMPARE(redoItem->text(), QStringLiteral("&Redo"));
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
