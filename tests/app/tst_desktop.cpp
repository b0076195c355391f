#include "app/frmmain.h"
#include "editor/detailspanel.h"
#include "editor/fontdocument.h"
#include "editor/pixelsquare.h"
#include "glyphcell/fontchar.h"
#include "support/support.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <cmath>
#include <memory>

namespace {

// The colours of qt6ct's "darker" scheme: light text on a near-black window.
QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x22, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x3d, 0x3d, 0x3d));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(0x42, 0x42, 0x45));
    dark.setColor(QPalette::ButtonText, Qt::white);
    return dark;
}

// WCAG contrast ratio: 1 for equal colours, 21 for black on white.
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto linear = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A line is visible when it stands out from what lies on either side of it. Lines that are all
// that tells two controls apart need 3:1 (WCAG 2.1, 1.4.11).
void verifyStandsOut(const QColor &line, const QList<QColor> &neighbours, double least = 2.0)
{
    for (const QColor &neighbour : neighbours)
        QVERIFY2(contrast(line, neighbour) >= least,
                 qPrintable(QStringLiteral("%1 next to %2").arg(line.name(), neighbour.name())));
}

// What a widget shows at logical pixel (x, y), whatever the device pixel ratio.
QColor shownAt(const QImage &shot, int x, int y)
{
    const qreal ratio = shot.devicePixelRatio();
    return shot.pixelColor(int((x + 0.5) * ratio), int((y + 0.5) * ratio));
}

// The 16 x 16 picture inside a cell's 1-pixel border, as painted on screen.
void verifyCellShows(FontChar *cell, const CharBitMap &bits, const QColor &paper)
{
    const QImage shot = cell->grab().toImage();
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QColor expected = (bits[y / 2] & (0x80 >> (x / 2))) ? QColor(Qt::black) : paper;
            QCOMPARE(shownAt(shot, x + 1, y + 1), expected);
        }
    }
    QCOMPARE(cell->Picture().pixelColor(0, 0), shownAt(shot, 1, 1));
}

// Where a label draws its text, in its parent's coordinates, as QLabel lays it out.
QRect textRect(const QLabel *label)
{
    const QSize size = label->fontMetrics().size(Qt::TextSingleLine, label->text());
    return QStyle::alignedRect(label->layoutDirection(), label->alignment(), size,
                               label->contentsRect())
        .translated(label->pos());
}

bool textFits(const QLabel *label)
{
    const QSize size = label->fontMetrics().size(Qt::TextSingleLine, label->text());
    return size.width() <= label->contentsRect().width()
           && size.height() <= label->contentsRect().height();
}
} // namespace

// The editor on real desktops: colour schemes, desktop fonts and scale factors, the keyboard,
// screen readers and the clipboard.
class TestDesktop final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void glyphsStayInkOnPaper_data();
    void glyphsStayInkOnPaper();
    void panelTextsFit_data();
    void panelTextsFit();
    void arrowsWalkTheGrid_data();
    void arrowsWalkTheGrid();
    void clickedSquareTakesFocus();
    void cellsAreSelectableListItems();
    void copyPutsBytesAsText();

private:
    void startWindow();
    FontChar *cell(int index) const { return m_window->SelFontChar(index); }
    template<typename T = QWidget> T *control(const QString &name) const
    {
        auto *widget = m_window->findChild<T *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    PixelSquare *square(int index) const
    {
        return control<PixelSquare>(QStringLiteral("picPixel(%1)").arg(index));
    }

    QPalette m_appPalette;
    QFont m_appFont;
    std::unique_ptr<FakeServices> m_fakes;
    std::unique_ptr<frmMain> m_window;
};

void TestDesktop::init()
{
    m_appPalette = QApplication::palette();
    m_appFont = QApplication::font();
}

void TestDesktop::cleanup()
{
    m_window.reset();
    m_fakes.reset();
    QApplication::setPalette(m_appPalette);
    QApplication::setFont(m_appFont);
}

// The desktop's settings are in force before the window exists, as a platform theme sets them.
void TestDesktop::startWindow()
{
    createOnFakes(m_fakes, m_window);
    QVERIFY(showActive(m_window.get()));
}

void TestDesktop::glyphsStayInkOnPaper_data()
{
    QTest::addColumn<bool>("dark");
    QTest::newRow("light scheme") << false;
    QTest::newRow("dark scheme") << true;
}

void TestDesktop::glyphsStayInkOnPaper()
{
    QFETCH(bool, dark);
    if (dark)
        QApplication::setPalette(darkPalette());
    startWindow();
    const QColor window = m_window->palette().color(QPalette::Window);

    QTest::mouseClick(cell(65), Qt::LeftButton);
    m_window->document()->paste(CapitalA);
    QTest::mouseClick(control(QStringLiteral("btnOK")), Qt::LeftButton);
    verifyCellShows(cell(65), CapitalA, Green);
    verifyCellShows(m_window->detailsPanel()->CurrentFontChar(), CapitalA, Qt::white);
    QTest::mouseClick(cell(66), Qt::LeftButton);
    verifyCellShows(cell(65), CapitalA, Qt::white);

    // A cell's border lies between its paper and the window.
    const QImage cellShot = cell(65)->grab().toImage();
    verifyStandsOut(shownAt(cellShot, 0, 0), {Qt::white, Green, window}, 3.0);
    verifyStandsOut(shownAt(cellShot, 17, 9), {Qt::white, Green, window}, 3.0);

    // Grid lines lie between clear and ink squares, and the grid's frame against the window.
    QTest::mouseClick(square(0), Qt::LeftButton);
    const QImage grid = control(QStringLiteral("picDetailBack"))->grab().toImage();
    QCOMPARE(shownAt(grid, 8, 8), QColor(Qt::black));
    QCOMPARE(shownAt(grid, 24, 8), QColor(Qt::white));
    verifyStandsOut(shownAt(grid, 17, 8), {Qt::black, Qt::white}, 3.0);
    verifyStandsOut(shownAt(grid, 24, 17), {Qt::black, Qt::white}, 3.0);
    verifyStandsOut(shownAt(grid, 0, 60), {Qt::black, Qt::white, window}, 3.0);

    // Everything else keeps to the scheme.
    QCOMPARE(
        control<QLabel>(QStringLiteral("lblHexValue(0)"))->palette().color(QPalette::WindowText),
        QApplication::palette().color(QPalette::WindowText));
}

void TestDesktop::panelTextsFit_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::newRow("8 points") << 8;
    QTest::newRow("11 points") << 11;
    QTest::newRow("14 points") << 14;
}

void TestDesktop::panelTextsFit()
{
    QFETCH(int, pointSize);
    QFont desktop = QApplication::font();
    desktop.setPointSize(pointSize);
    QApplication::setFont(desktop);
    startWindow();
    DetailsPanel *panel = m_window->detailsPanel();
    const QList<QLabel *> labels = panel->findChildren<QLabel *>();
    QCOMPARE(labels.size(), 33);
    QList<QRect> solid {control(QStringLiteral("picDetailBack"))->geometry(),
                        panel->CurrentFontChar()->geometry()};

    for (QPushButton *button : panel->findChildren<QPushButton *>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect inside
            = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QSize caption = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
        QVERIFY2(caption.width() <= inside.width() && caption.height() <= button->height(),
                 qPrintable(button->text()));
        solid << button->geometry();
    }

    // Every row value and every character name, eight rows at a time.
    for (int first = 0; first < 256; first += 8) {
        CharBitMap rows {};
        for (int r = 0; r < 8; ++r)
            rows[r] = static_cast<std::uint8_t>(first + r);
        for (int code = first; code < first + 8; ++code) {
            m_window->document()->select(code);
            auto *selected = control<QLabel>(QStringLiteral("lblSelectedChar"));
            QCOMPARE(selected->text(), charDescription(code));
            QVERIFY2(textFits(selected), qPrintable(selected->text()));
        }
        m_window->document()->clearEditor();
        m_window->document()->paste(rows);
        for (QLabel *label : labels) {
            const QString what = label->objectName() + QLatin1Char(' ') + label->text();
            QVERIFY2(textFits(label), qPrintable(what));
            for (const QRect &control : std::as_const(solid))
                QVERIFY2(!textRect(label).intersects(control), qPrintable(what));
            for (QLabel *other : labels) {
                if (other != label && !other->text().isEmpty())
                    QVERIFY2(!textRect(label).intersects(textRect(other)),
                             qPrintable(what + QLatin1String(" / ") + other->objectName()));
            }
        }
    }
    QVERIFY(control<QLabel>(QStringLiteral("lblSelectedChar"))->font().bold());
}

void TestDesktop::arrowsWalkTheGrid_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<int>("to");
    QTest::newRow("top-left left") << 0 << Qt::Key_Left << 0;
    QTest::newRow("top-left up") << 0 << Qt::Key_Up << 0;
    QTest::newRow("top-left right") << 0 << Qt::Key_Right << 1;
    QTest::newRow("top-left down") << 0 << Qt::Key_Down << 8;
    QTest::newRow("top-right right stays, no wrap") << 7 << Qt::Key_Right << 7;
    QTest::newRow("top-right up") << 7 << Qt::Key_Up << 7;
    QTest::newRow("top-right left") << 7 << Qt::Key_Left << 6;
    QTest::newRow("row 1 left edge stays, no wrap") << 8 << Qt::Key_Left << 8;
    QTest::newRow("bottom-left down") << 56 << Qt::Key_Down << 56;
    QTest::newRow("bottom-left up") << 56 << Qt::Key_Up << 48;
    QTest::newRow("bottom-right right") << 63 << Qt::Key_Right << 63;
    QTest::newRow("bottom-right down") << 63 << Qt::Key_Down << 63;
    QTest::newRow("bottom-right left") << 63 << Qt::Key_Left << 62;
}

void TestDesktop::arrowsWalkTheGrid()
{
    QFETCH(int, from);
    QFETCH(Qt::Key, key);
    QFETCH(int, to);
    startWindow();
    square(from)->setFocus();
    QTest::keyClick(square(from), key);
    QCOMPARE(QApplication::focusWidget(), square(to));
    // Moving toggles nothing; Space toggles the square that has the focus.
    for (int i = 0; i < 64; ++i)
        QVERIFY(!square(i)->isInk());
    QTest::keyClick(square(to), Qt::Key_Space);
    CharBitMap expected {};
    expected[to / 8] = static_cast<std::uint8_t>(0x80 >> (to % 8));
    QCOMPARE(m_window->detailsPanel()->CurrentFontChar()->BitMap(), expected);
}

void TestDesktop::clickedSquareTakesFocus()
{
    startWindow();
    QTest::mouseClick(square(27), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), square(27));
    QTest::keyClick(square(27), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(square(27)->isInk());
    QVERIFY(square(28)->isInk());
    // Tab still leaves the grid in its defined order.
    square(63)->setFocus();
    QTest::keyClick(square(63), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("btnInvert"));
}

void TestDesktop::cellsAreSelectableListItems()
{
    startWindow();
    QAccessibleInterface *selected = QAccessible::queryAccessibleInterface(cell(0));
    QAccessibleInterface *other = QAccessible::queryAccessibleInterface(cell(65));
    QVERIFY(selected && other);
    QCOMPARE(other->role(), QAccessible::ListItem);
    QCOMPARE(other->text(QAccessible::Name), QStringLiteral("A, 65, 0x41"));
    QCOMPARE(other->text(QAccessible::Description), QStringLiteral("Char: A / 65 / 0x41"));
    QVERIFY(other->state().selectable);
    QVERIFY(!other->state().selected);
    QVERIFY(selected->state().selectable);
    QVERIFY(selected->state().selected);
    QCOMPARE(QAccessible::queryAccessibleInterface(cell(32))->text(QAccessible::Name),
             QStringLiteral("space, 32, 0x20"));
    QCOMPARE(QAccessible::queryAccessibleInterface(cell(10))->text(QAccessible::Name),
             QStringLiteral("., 10, 0x0A"));

    QTest::mouseClick(cell(65), Qt::LeftButton);
    QVERIFY(other->state().selected);
    QVERIFY(!selected->state().selected);
    // New leaves character 0 selected, and only it.
    m_window->ResetFont();
    QVERIFY(!other->state().selected);

    QAccessibleInterface *preview
        = QAccessible::queryAccessibleInterface(m_window->detailsPanel()->CurrentFontChar());
    QCOMPARE(preview->role(), QAccessible::Graphic);
    QVERIFY(!preview->state().selectable);
    QCOMPARE(QAccessible::queryAccessibleInterface(square(9))->text(QAccessible::Name),
             QStringLiteral("Row 1, column 1: clear"));
}

void TestDesktop::copyPutsBytesAsText()
{
    startWindow();
    QTest::mouseClick(cell(65), Qt::LeftButton);
    m_window->document()->paste(CapitalA);
    QTest::mouseClick(control(QStringLiteral("btnCopy")), Qt::LeftButton);
    const QMimeData *data = QApplication::clipboard()->mimeData();
    QVERIFY(data);
    QCOMPARE(data->text(), QStringLiteral("0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x42, 0x00"));
    QVERIFY(data->hasImage());
    QCOMPARE(QApplication::clipboard()->image(),
             m_window->detailsPanel()->CurrentFontChar()->Picture().convertToFormat(
                 QApplication::clipboard()->image().format()));

    // The text is always what the editor shows, blank included, never an older copy.
    QTest::mouseClick(control(QStringLiteral("btnClear")), Qt::LeftButton);
    QTest::mouseClick(control(QStringLiteral("btnCopy")), Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral("0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00"));
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
