#include "fontdialogs/textpreviewwindow.h"
#include "support/formatfixtures.h"
#include "support/support.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

// The text preview draws what the companion's render draws, and follows the font.
class TestTextPreviewWindow final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void drawsTheCompanionsPicture_data();
    void drawsTheCompanionsPicture();
    void missingCharacterDrawsNothing();
};

void TestTextPreviewWindow::drawsTheCompanionsPicture_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("charset");
    QTest::addColumn<int>("scale");
    QTest::newRow("ASCII at 1") << "Hello, world!"
                                << "latin1" << 1;
    QTest::newRow("Latin-1 at 8") << QString::fromUtf8("caf\u00e9 \u00b0C") << "latin1" << 8;
    if (knowsOtherCharsets())
        QTest::newRow("box drawing in cp437")
            << QString::fromUtf8("\u2554\u2550\u2557") << "cp437" << 3;
}

void TestTextPreviewWindow::drawsTheCompanionsPicture()
{
    QFETCH(QString, text);
    QFETCH(QString, charset);
    QFETCH(int, scale);
    QTemporaryDir dir;
    const FontImage font = randomFont(5);
    writeRaw(dir.filePath(QStringLiteral("f.pf")), fontFileBytes(font));
    FakeServices fakes;
    TextPreviewWindow window(fakes.services(), nullptr);
    window.setGlyphs(font);
    window.findChild<QLineEdit *>(QStringLiteral("txtText"))->setText(text);
    window.findChild<QComboBox *>(QStringLiteral("cmbCharset"))->setCurrentText(charset);
    window.findChild<QSpinBox *>(QStringLiteral("spnScale"))->setValue(scale);
    QCOMPARE(window.picture().size(), QSize(int(text.toUcs4().size()) * 8 * scale, 8 * scale));

    // Save writes the PNG where the dialog says, byte for byte the companion's.
    fakes.dialogs.answers = {dir.filePath(QStringLiteral("line.png"))};
    window.findChild<QPushButton *>(QStringLiteral("btnSave"))->click();
    QProcess render;
    render.start(QStringLiteral(GLYPHWRIGHT_CLI),
                 {"render", dir.filePath("f.pf"), text, "-o", dir.filePath("ref.png"), "--scale",
                  QString::number(scale), "--charset", charset});
    QVERIFY(finishedInTime(render));
    QCOMPARE(render.exitCode(), 0);
    QCOMPARE(readRaw(dir.filePath("line.png")), readRaw(dir.filePath("ref.png")));
}

void TestTextPreviewWindow::missingCharacterDrawsNothing()
{
    FakeServices fakes;
    TextPreviewWindow window(fakes.services(), nullptr);
    window.findChild<QLineEdit *>(QStringLiteral("txtText"))->setText(QStringLiteral("\u20ac 5"));
    QVERIFY(window.picture().isNull());
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("btnSave"))->isEnabled());
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("btnCopy"))->isEnabled());
    QVERIFY(window.png().isEmpty());
}

QTEST_MAIN(TestTextPreviewWindow)
#include "tst_textpreviewwindow.moc"
