#include "fontdialogs/glyphsheet.h"
#include "fontdialogs/transformdialog.h"
#include "support/support.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {
// One pixel at the top left of every glyph of a font: each operation moves it somewhere known.
constexpr CharBitMap TopLeft {0x80, 0, 0, 0, 0, 0, 0, 0};

FontImage topLeftFont()
{
    FontImage font {};
    for (int code = 0; code < CharacterCount; ++code)
        setGlyph(font, code, TopLeft);
    return font;
}
} // namespace

// Transform: the operation the controls name, on the codes they name, before and after.
class TestTransformDialog final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void operationOnScope_data();
    void operationOnScope();
    void stepsInOrder();
    void badRangeDisablesOk();
};

void TestTransformDialog::operationOnScope_data()
{
    QTest::addColumn<int>("operation"); // index in the operation box
    QTest::addColumn<int>("choice"); // index in the direction, mirror or turn box
    QTest::addColumn<int>("pixels");
    QTest::addColumn<QString>("scope"); // "whole", a range, or "selected"
    QTest::addColumn<CharBitMap>("expected"); // what TopLeft becomes
    QTest::addColumn<int>("firstChanged");
    QTest::addColumn<int>("lastChanged");
    // Operations in the box's order: shift, roll, mirror, turn, invert, bold.
    QTest::newRow("shift right 3, whole")
        << 0 << 3 << 3 << "whole" << CharBitMap {0x10, 0, 0, 0, 0, 0, 0, 0} << 0 << 255;
    QTest::newRow("roll up brings it to the bottom")
        << 1 << 0 << 1 << "65-90" << CharBitMap {0, 0, 0, 0, 0, 0, 0, 0x80} << 65 << 90;
    QTest::newRow("mirror left to right")
        << 2 << 0 << 1 << "0x20-0x7F" << CharBitMap {0x01, 0, 0, 0, 0, 0, 0, 0} << 32 << 127;
    QTest::newRow("mirror top to bottom")
        << 2 << 1 << 1 << "selected" << CharBitMap {0, 0, 0, 0, 0, 0, 0, 0x80} << 65 << 65;
    QTest::newRow("turn 90") << 3 << 0 << 1 << "whole" << CharBitMap {0x01, 0, 0, 0, 0, 0, 0, 0}
                             << 0 << 255;
    QTest::newRow("turn 270") << 3 << 2 << 1 << "200-255" << CharBitMap {0, 0, 0, 0, 0, 0, 0, 0x80}
                              << 200 << 255;
    QTest::newRow("invert") << 4 << 0 << 1 << "255"
                            << CharBitMap {0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF} << 255
                            << 255;
    QTest::newRow("bold") << 5 << 0 << 1 << "selected" << CharBitMap {0xC0, 0, 0, 0, 0, 0, 0, 0}
                          << 65 << 65;
}

void TestTransformDialog::operationOnScope()
{
    QFETCH(int, operation);
    QFETCH(int, choice);
    QFETCH(int, pixels);
    QFETCH(QString, scope);
    QFETCH(CharBitMap, expected);
    QFETCH(int, firstChanged);
    QFETCH(int, lastChanged);
    const FontImage before = topLeftFont();
    TransformDialog dialog(before, 65, nullptr);
    dialog.findChild<QComboBox *>(QStringLiteral("cmbOperation"))->setCurrentIndex(operation);
    for (const char *name : {"cmbDirection", "cmbMirror", "cmbTurn"}) {
        auto *box = dialog.findChild<QComboBox *>(QLatin1String(name));
        if (!box->isHidden())
            box->setCurrentIndex(choice);
    }
    dialog.findChild<QSpinBox *>(QStringLiteral("spnPixels"))->setValue(pixels);
    if (scope == QLatin1String("selected"))
        dialog.findChild<QRadioButton *>(QStringLiteral("optSelected"))->setChecked(true);
    else if (scope != QLatin1String("whole"))
        dialog.findChild<QLineEdit *>(QStringLiteral("txtCodes"))->setText(scope);

    for (int code = 0; code < CharacterCount; ++code) {
        const bool inside = code >= firstChanged && code <= lastChanged;
        QCOMPARE(glyphOf(dialog.transformed(), code), inside ? expected : TopLeft);
    }
    QCOMPARE(dialog.changedCount(), lastChanged - firstChanged + 1);
    QCOMPARE(dialog.findChild<GlyphSheet *>(QStringLiteral("sheetAfter"))->glyphs(),
             dialog.transformed());
    QCOMPARE(dialog.findChild<GlyphSheet *>(QStringLiteral("sheetBefore"))->glyphs(), before);
}

void TestTransformDialog::stepsInOrder()
{
    TransformDialog dialog(topLeftFont(), -1, nullptr);
    auto *operation = dialog.findChild<QComboBox *>(QStringLiteral("cmbOperation"));
    dialog.findChild<QComboBox *>(QStringLiteral("cmbDirection"))->setCurrentIndex(3); // right
    dialog.findChild<QSpinBox *>(QStringLiteral("spnPixels"))->setValue(3);
    dialog.findChild<QPushButton *>(QStringLiteral("btnAddStep"))->click();
    operation->setCurrentIndex(2); // mirror, left to right
    // Shifted first, the pixel is mirrored from column 3 to 4; the other way round it would be
    // lost past the right edge.
    QCOMPARE(glyphOf(dialog.transformed(), 0), (CharBitMap {0x08, 0, 0, 0, 0, 0, 0, 0}));
    QCOMPARE(dialog.stepName(), QStringLiteral("Transform: Shift, Mirror"));

    // Back on the first step, the controls show it; removing it leaves the mirror alone.
    auto *steps = dialog.findChild<QListWidget *>(QStringLiteral("lstSteps"));
    steps->setCurrentRow(0);
    QCOMPARE(operation->currentIndex(), 0);
    QCOMPARE(dialog.findChild<QSpinBox *>(QStringLiteral("spnPixels"))->value(), 3);
    dialog.findChild<QPushButton *>(QStringLiteral("btnRemoveStep"))->click();
    QCOMPARE(dialog.operations().size(), 1);
    QCOMPARE(glyphOf(dialog.transformed(), 0), (CharBitMap {0x01, 0, 0, 0, 0, 0, 0, 0}));
    QVERIFY(!dialog.findChild<QPushButton *>(QStringLiteral("btnRemoveStep"))->isEnabled());
}

void TestTransformDialog::badRangeDisablesOk()
{
    TransformDialog dialog(topLeftFont(), -1, nullptr);
    // Nothing selected: the choice is there, but cannot be taken.
    QVERIFY(!dialog.findChild<QRadioButton *>(QStringLiteral("optSelected"))->isEnabled());
    dialog.findChild<QLineEdit *>(QStringLiteral("txtCodes"))->setText(QStringLiteral("90-65"));
    QVERIFY(!dialog.codes());
    QVERIFY(!dialog.findChild<QWidget *>(QStringLiteral("btnOK"))->isEnabled());
    QCOMPARE(dialog.transformed(), topLeftFont());
}

QTEST_MAIN(TestTransformDialog)
#include "tst_transformdialog.moc"
