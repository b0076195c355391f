#include "app/frmmain.h"
#include "glyphcell/fontchar.h"
#include "support/support.h"

#include <QAction>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTest>

#include <memory>

// The main window as start-up leaves it: controls, geometry, menu, focus order.
class TestFrmMain final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void windowIsFixedAroundPaletteAndPanel();
    void controlGeometry_data();
    void controlGeometry();
    void valueLabelsKeepTheirPlace();
    void captionsAndLooks();
    void paletteTooltips();
    void menuItems();
    void focusOrder();
    void tabWalksCellsAndPanel();

private:
    template<typename T = QWidget> T *control(const QString &name) const
    {
        auto *widget = m_window->findChild<T *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }

    std::unique_ptr<FakeServices> m_fakes;
    std::unique_ptr<frmMain> m_window;
};

void TestFrmMain::init()
{
    createOnFakes(m_fakes, m_window);
}

void TestFrmMain::cleanup()
{
    m_window.reset();
    m_fakes.reset();
}

void TestFrmMain::windowIsFixedAroundPaletteAndPanel()
{
    QCOMPARE(m_window->centralWidget()->size(), QSize(569, 333));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QCOMPARE(m_window->centralWidget()->geometry().bottom() + 1, m_window->height());
    const Qt::WindowFlags flags = m_window->windowFlags();
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!m_window->windowIcon().isNull());
    // The icon's light grey tile shows in its middle row between the letters.
    const QImage icon = m_window->windowIcon().pixmap(QSize(16, 16)).toImage();
    QCOMPARE(icon.size(), QSize(16, 16));
}

void TestFrmMain::controlGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("panel centred below") << "DetailsPanel"
                                         << "client" << QRect(52, 180, 465, 153);
    QTest::newRow("Apply") << "btnOK"
                           << "DetailsPanel" << QRect(384, 16, 73, 17);
    QTest::newRow("Clear") << "btnClear"
                           << "DetailsPanel" << QRect(384, 40, 73, 17);
    QTest::newRow("Invert") << "btnInvert"
                            << "DetailsPanel" << QRect(384, 64, 73, 17);
    QTest::newRow("Copy") << "btnCopy"
                          << "DetailsPanel" << QRect(384, 88, 73, 17);
    QTest::newRow("Paste") << "btnPaste"
                           << "DetailsPanel" << QRect(384, 112, 73, 17);
    QTest::newRow("grid back") << "picDetailBack"
                               << "DetailsPanel" << QRect(160, 16, 131, 131);
    QTest::newRow("square 0") << "picPixel(0)"
                              << "picDetailBack" << QRect(1, 1, 17, 17);
    QTest::newRow("square 7") << "picPixel(7)"
                              << "picDetailBack" << QRect(113, 1, 17, 17);
    QTest::newRow("square 8 starts row 1") << "picPixel(8)"
                                           << "picDetailBack" << QRect(1, 17, 17, 17);
    QTest::newRow("square 56") << "picPixel(56)"
                               << "picDetailBack" << QRect(1, 113, 17, 17);
    QTest::newRow("square 63") << "picPixel(63)"
                               << "picDetailBack" << QRect(113, 113, 17, 17);
    QTest::newRow("preview packed") << "CurrentFontChar"
                                    << "DetailsPanel" << QRect(360, 16, 18, 18);
    QTest::newRow("row label 3") << "lblRow(3)"
                                 << "DetailsPanel" << QRect(152, 64, 9, 17);
    QTest::newRow("bit 0 over rightmost") << "lblCol(0)"
                                          << "DetailsPanel" << QRect(280, 0, 9, 17);
    QTest::newRow("bit 7 over leftmost") << "lblCol(7)"
                                         << "DetailsPanel" << QRect(168, 0, 9, 17);
    QTest::newRow("selected label") << "lblSelectedChar"
                                    << "DetailsPanel" << QRect(0, 0, 137, 17);
    QTest::newRow("cell 0") << "SelFontChar(0)"
                            << "client" << QRect(0, 0, 18, 18);
    QTest::newRow("cell 29") << "SelFontChar(29)"
                             << "client" << QRect(551, 0, 18, 18);
    QTest::newRow("cell 30") << "SelFontChar(30)"
                             << "client" << QRect(0, 19, 18, 18);
    QTest::newRow("cell 240") << "SelFontChar(240)"
                              << "client" << QRect(0, 152, 18, 18);
    QTest::newRow("cell 255") << "SelFontChar(255)"
                              << "client" << QRect(285, 152, 18, 18);
}

void TestFrmMain::controlGeometry()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    QWidget *widget = control(name);
    QCOMPARE(widget->parentWidget()->objectName(), parent);
    QCOMPARE(widget->geometry(), geometry);
}

void TestFrmMain::valueLabelsKeepTheirPlace()
{
    const QRect preview = control(QStringLiteral("CurrentFontChar"))->geometry();
    for (int r = 0; r < 8; ++r) {
        const QRect dec = control(QStringLiteral("lblDecValue(%1)").arg(r))->geometry();
        const QRect hex = control(QStringLiteral("lblHexValue(%1)").arg(r))->geometry();
        QCOMPARE(dec.topLeft(), QPoint(288, 16 + 16 * r));
        QCOMPARE(hex.topLeft(), QPoint(320, 16 + 16 * r));
        QVERIFY(dec.right() < hex.left());
        QVERIFY(hex.right() < preview.left());
    }
}

void TestFrmMain::captionsAndLooks()
{
    QCOMPARE(m_window->windowTitle().isEmpty(), false);
    const QList<QPair<const char *, const char *>> buttons {{"btnOK", "&Apply"},
                                                            {"btnClear", "C&lear"},
                                                            {"btnInvert", "&Invert"},
                                                            {"btnCopy", "&Copy"},
                                                            {"btnPaste", "&Paste"}};
    for (const auto &[name, caption] : buttons)
        QCOMPARE(control<QPushButton>(QLatin1String(name))->text(), QLatin1String(caption));
    for (int i = 0; i < 8; ++i) {
        const QString digit = QString::number(i);
        QCOMPARE(control<QLabel>(QStringLiteral("lblRow(%1)").arg(i))->text(), digit);
        QCOMPARE(control<QLabel>(QStringLiteral("lblCol(%1)").arg(i))->text(), digit);
        QCOMPARE(control<QLabel>(QStringLiteral("lblDecValue(%1)").arg(i))->text(), "0");
        QCOMPARE(control<QLabel>(QStringLiteral("lblHexValue(%1)").arg(i))->text(), "0x00");
    }
    QCOMPARE(control<QFrame>(QStringLiteral("picDetailBack"))->palette().color(QPalette::Window),
             QColor(Qt::black));
    const QFont bold = control<QLabel>(QStringLiteral("lblSelectedChar"))->font();
    QCOMPARE(bold.weight(), QFont::Bold);
    // 7.8 points on the 96 dots-per-inch screen the form was drawn for, whatever the desktop's.
    QCOMPARE(bold.pixelSize(), 10);
    QCOMPARE(bold.family() == QStringLiteral("MS Sans Serif"),
             QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif")));
}

void TestFrmMain::paletteTooltips()
{
    QCOMPARE(m_window->SelFontChar(0)->ToolTip(), QStringLiteral("Char: . / 0 / 0x00"));
    QCOMPARE(m_window->SelFontChar(32)->ToolTip(), QStringLiteral("Char:   / 32 / 0x20"));
    QCOMPARE(m_window->SelFontChar(65)->ToolTip(), QStringLiteral("Char: A / 65 / 0x41"));
    QCOMPARE(m_window->SelFontChar(255)->ToolTip(), QStringLiteral("Char: . / 255 / 0xFF"));
    QCOMPARE(control<FontChar>(QStringLiteral("CurrentFontChar"))->ToolTip(), QString());
}

void TestFrmMain::menuItems()
{
    const QList<QMenu *> menus = m_window->menuBar()->findChildren<QMenu *>();
    // File, Edit, Help.
    QCOMPARE(m_window->menuBar()->actions().size(), 3);
    auto *file = m_window->findChild<QMenu *>(QStringLiteral("mnuFile"));
    auto *edit = m_window->findChild<QMenu *>(QStringLiteral("mnuEdit"));
    auto *help = m_window->findChild<QMenu *>(QStringLiteral("mnuHelp"));
    QVERIFY(file && edit && help);
    QCOMPARE(m_window->menuBar()->actions().at(1), edit->menuAction());
    QCOMPARE(file->title(), QStringLiteral("&File"));
    QCOMPARE(help->title(), QStringLiteral("&Help"));

    QStringList names, captions;
    for (QAction *action : file->actions()) {
        names << action->objectName();
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QVERIFY(action->shortcut().isEmpty());
    }
    QCOMPARE(names, QStringList({"mnuNew", "mnuOpen", "mnuSep1", "mnuSave", "mneExport", "mnuSep2",
                                 "mnuExit"}));
    QCOMPARE(captions, QStringList({"&New", "&Open", "-", "&Save", "&Export", "-", "E&xit"}));
    QCOMPARE(help->actions().size(), 1);
    QCOMPARE(help->actions().constFirst()->objectName(), QStringLiteral("mnuAbout"));
    QCOMPARE(help->actions().constFirst()->text(), QStringLiteral("&About"));
    for (QAction *action : help->actions())
        QVERIFY(action->shortcut().isEmpty());

    QCOMPARE(edit->title(), QStringLiteral("&Edit"));
    QStringList editNames;
    for (QAction *action : edit->actions())
        editNames << action->objectName();
    QCOMPARE(editNames, QStringList({"mnuUndo", "mnuRedo"}));
    auto *undo = edit->actions().at(0);
    auto *redo = edit->actions().at(1);
    QCOMPARE(undo->shortcuts(), QList<QKeySequence> {QKeySequence(Qt::CTRL | Qt::Key_Z)});
    QCOMPARE(redo->shortcuts(),
             QList<QKeySequence>({QKeySequence(Qt::CTRL | Qt::Key_Y),
                                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));

    // Alt and a letter reaches one thing in the window: a menu or a button.
    QStringList keys;
    for (QAction *menu : m_window->menuBar()->actions())
        keys << QKeySequence::mnemonic(menu->text()).toString();
    for (QPushButton *button : m_window->findChildren<QPushButton *>())
        keys << QKeySequence::mnemonic(button->text()).toString();
    QCOMPARE(keys.size(), 8);
    QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());
}

void TestFrmMain::focusOrder()
{
    QStringList expected;
    for (int i = 0; i < 256; ++i)
        expected << QStringLiteral("SelFontChar(%1)").arg(i);
    expected << "DetailsPanel"
             << "picDetailBack";
    for (int i = 0; i < 64; ++i)
        expected << QStringLiteral("picPixel(%1)").arg(i);
    expected << "btnInvert"
             << "btnPaste"
             << "btnCopy"
             << "btnClear"
             << "btnOK"
             << "CurrentFontChar";

    QStringList chain;
    QWidget *widget = m_window->SelFontChar(0);
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            chain << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != m_window->SelFontChar(0));
    QCOMPARE(chain, expected);

    for (QLabel *label : m_window->findChildren<QLabel *>())
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
}

void TestFrmMain::tabWalksCellsAndPanel()
{
    QVERIFY(showActive(m_window.get()));
    for (int i : {0, 28, 29, 254}) {
        m_window->SelFontChar(i)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m_window->SelFontChar(i + 1));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("DetailsPanel"));
    control(QStringLiteral("btnOK"))->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("CurrentFontChar"));
}

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
