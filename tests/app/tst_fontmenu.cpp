#include "app/frmmain.h"
#include "editor/detailspanel.h"
#include "fontdialogs/importdialog.h"
#include "fontdialogs/transformdialog.h"
#include "formats/pngimage.h"
#include "formats/psf.h"
#include "glyphcell/fontchar.h"
#include "support/support.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

// The Font menu in the real window: what Import and Transform do to the font, the selection and
// the file name Save proposes; the text preview following the font is the end-to-end scenario's.
class TestFontMenu final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void importReplacesTheFontAndProposesPf_data();
    void importReplacesTheFontAndProposesPf();
    void fileGivenOfAnotherFormatIsImported();
    void transformIsOneStep();

private:
    // Does what starts a dialog and, once the dialog is up, what a user does there.
    template<typename Dialog>
    void startWith(const std::function<void()> &start, std::function<void(Dialog *)> act)
    {
        QVERIFY(withModal<Dialog>(m_window.get(), start, act));
    }
    template<typename Dialog> void triggerWith(const char *item, std::function<void(Dialog *)> act)
    {
        startWith<Dialog>(
            [this, item] { m_window->findChild<QAction *>(QLatin1String(item))->trigger(); }, act);
    }
    FontImage shownFont() const
    {
        FontImage font {};
        for (int code = 0; code < CharacterCount; ++code)
            setGlyph(font, code, m_window->SelFontChar(code)->BitMap());
        return font;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeServices> m_fakes;
    std::unique_ptr<frmMain> m_window;
};

void TestFontMenu::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    createOnFakes(m_fakes, m_window);
    QVERIFY(showActive(m_window.get()));
}

void TestFontMenu::importReplacesTheFontAndProposesPf_data()
{
    QTest::addColumn<bool>("accepted");
    QTest::newRow("Import") << true;
    QTest::newRow("Cancel") << false;
}

void TestFontMenu::importReplacesTheFontAndProposesPf()
{
    QFETCH(bool, accepted);
    const FontImage font = randomFont(11);
    const QString source = m_dir->filePath(QStringLiteral("console.psf"));
    writeRaw(source, psf1Bytes(font));
    m_fakes->dialogs.answers = {source};
    triggerWith<ImportDialog>("mnuImport", [accepted](ImportDialog *dialog) {
        accepted ? dialog->accept() : dialog->reject();
    });
    QCOMPARE(shownFont(), accepted ? font : FontImage {});
    // The character being edited shows its imported glyph at once.
    QCOMPARE(m_window->detailsPanel()->CurrentFontChar()->BitMap(),
             accepted ? glyphOf(font, 0) : CharBitMap {});

    m_fakes->dialogs.answers.clear();
    m_window->findChild<QAction *>(QStringLiteral("mnuSave"))->trigger();
    QCOMPARE(m_fakes->dialogs.requests.last().initialName,
             accepted ? QStringLiteral("console.pf") : QStringLiteral("font.pf"));
    QCOMPARE(m_window->CurrentFileName(), QString());

    // One step, which Undo takes back; Cancel leaves none.
    QAction *undo = m_window->findChild<QAction *>(QStringLiteral("mnuUndo"));
    QCOMPARE(undo->isEnabled(), accepted);
    if (accepted) {
        QCOMPARE(undo->text(), QStringLiteral("&Undo Import"));
        undo->trigger();
        QCOMPARE(shownFont(), FontImage {});
    }
}

void TestFontMenu::fileGivenOfAnotherFormatIsImported()
{
    // As given on the command line or dropped: a font that is no .pf goes through Import.
    const FontImage font = randomFont(12);
    const QString source = m_dir->filePath(QStringLiteral("sheet.png"));
    writeRaw(source, encodePng(sheetOf(font, 1)));
    startWith<ImportDialog>([this, &source] { m_window->openFile(source); },
                            [](ImportDialog *dialog) { dialog->accept(); });
    QCOMPARE(shownFont(), font);
}

void TestFontMenu::transformIsOneStep()
{
    m_window->SelFontChar(65)->setFocus();
    QCOMPARE(m_window->SelectedIndex(), 65);
    triggerWith<TransformDialog>("mnuTransform", [](TransformDialog *dialog) {
        // Invert is the fifth operation.
        dialog->findChild<QComboBox *>(QStringLiteral("cmbOperation"))->setCurrentIndex(4);
        dialog->findChild<QRadioButton *>(QStringLiteral("optSelected"))->setChecked(true);
        dialog->accept();
    });
    FontImage expected {};
    setGlyph(expected, 65, CharBitMap {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    QCOMPARE(shownFont(), expected);
    QCOMPARE(m_window->detailsPanel()->CurrentFontChar()->BitMap(), glyphOf(expected, 65));
    QAction *undo = m_window->findChild<QAction *>(QStringLiteral("mnuUndo"));
    QCOMPARE(undo->text(), QStringLiteral("&Undo Transform: Invert"));
    undo->trigger();
    QCOMPARE(shownFont(), FontImage {});
}

QTEST_MAIN(TestFontMenu)
#include "tst_fontmenu.moc"
