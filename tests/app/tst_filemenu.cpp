#include "app/frmmain.h"
#include "editor/detailspanel.h"
#include "editor/fontdocument.h"
#include "editor/pixelsquare.h"
#include "glyphcell/fontchar.h"
#include "support/formatfixtures.h"
#include "support/support.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <memory>

namespace {
// Answers like the desktop's dialog: a modal dialog takes the keyboard focus, closes, and the
// focus goes back to the window before the path is returned.
class ModalFileDialogs final : public FileDialogs
{
public:
    QString ask(QWidget *parent, const FileDialogRequest &) override
    {
        QDialog dialog(parent);
        dialog.setObjectName(QStringLiteral("standInDialog"));
        auto *name = new QLineEdit(&dialog);
        QTimer::singleShot(0, &dialog, [&dialog, name, this] {
            tookFocus = QTest::qWaitFor([name] { return name->hasFocus(); });
            dialog.accept();
        });
        dialog.exec();
        // A window manager activates the parent again once its modal dialog is gone.
        parent->activateWindow();
        focusReturned = QTest::qWaitFor([parent] {
            return parent->isActiveWindow() && QApplication::focusWidget()
                   && QApplication::focusWidget()->window() == parent;
        });
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QStringList answers;
    bool tookFocus = false;
    bool focusReturned = false;
};
} // namespace

// The File menu in the real window: what New, Open, Save, Export and Exit do to the palette,
// the selection, the keyboard focus, the pixel editor and the caption.
class TestFileMenu final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void openSelectsCharacterZeroAndFocusesIt();
    void newSelectsCharacterZeroAndFocusesIt();
    void openShowsEveryCharacter();
    void newBlanksEverything();
    void appliedPixelLandsAtItsOffset();
    void unappliedEditsAreNotSaved();
    void failuresAndCancelsKeepTheWindow();
    void captionShowsTheNameAsItIs_data();
    void captionShowsTheNameAsItIs();
    void exportLeavesTheWindowAsItWas();
    void exportProposesSavedName();
    void exitClosesTheWindow();
    void fileGivenOpensWithoutADialog();
    void dialogsStartInTheFontsFolder();
    void importedFontIsSavedUnderItsOwnName();
    void droppedFileOpens();
    void newAndOpenAreUndone_data();
    void newAndOpenAreUndone();

private:
    void trigger(const char *item)
    {
        m_window->findChild<QAction *>(QLatin1String(item))->trigger();
    }
    void open(const QString &path)
    {
        m_fakes->dialogs.answers = {path};
        trigger("mnuOpen");
    }
    void save(const QString &path)
    {
        m_fakes->dialogs.answers = {path};
        trigger("mnuSave");
    }
    QString path(const char *name) const { return m_dir->filePath(QLatin1String(name)); }
    QString selectedLabel() const
    {
        return m_window->findChild<QLabel *>(QStringLiteral("lblSelectedChar"))->text();
    }
    CharBitMap preview() const { return m_window->detailsPanel()->CurrentFontChar()->BitMap(); }
    // Cell 65 holds an applied A; cell 66 is selected with an unapplied pixel in the editor.
    void prepareEditedFont()
    {
        QTest::mouseClick(m_window->SelFontChar(65), Qt::LeftButton);
        m_window->document()->paste(CapitalA);
        QTest::mouseClick(m_window->findChild<QPushButton *>(QStringLiteral("btnOK")),
                          Qt::LeftButton);
        QTest::mouseClick(m_window->SelFontChar(66), Qt::LeftButton);
        QTest::mouseClick(m_window->findChild<PixelSquare *>(QStringLiteral("picPixel(0)")),
                          Qt::LeftButton);
    }
    void verifyEditedFontKept(const QString &title, const QString &fileName)
    {
        QCOMPARE(m_window->SelFontChar(65)->BitMap(), CapitalA);
        QCOMPARE(m_window->SelectedIndex(), 66);
        QCOMPARE(m_window->SelFontChar(66)->BackColor(), Green);
        QCOMPARE(preview(), (CharBitMap {0x80, 0, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(m_window->windowTitle(), title);
        QCOMPARE(m_window->CurrentFileName(), fileName);
    }
    // Character 0 selected, green alone, named by the label, loaded in the editor and holding
    // the keyboard focus.
    void verifyCharacterZeroSelected()
    {
        QCOMPARE(m_window->SelectedIndex(), 0);
        for (int code = 0; code < 256; ++code)
            QCOMPARE(m_window->SelFontChar(code)->BackColor(),
                     code == 0 ? Green : QColor(Qt::white));
        QCOMPARE(selectedLabel(), QStringLiteral("Char: . / 0 / 0x00"));
        QCOMPARE(preview(), m_window->SelFontChar(0)->BitMap());
        QCOMPARE(QApplication::focusWidget(), m_window->SelFontChar(0));
    }
    // Builds the window on a file dialog that really shows a modal dialog.
    void useModalDialogs()
    {
        m_window.reset();
        m_modal = std::make_unique<ModalFileDialogs>();
        Services services = m_fakes->services();
        services.fileDialogs = m_modal.get();
        m_window = std::make_unique<frmMain>(services);
        QVERIFY(showActive(m_window.get()));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ModalFileDialogs> m_modal;
    std::unique_ptr<FakeServices> m_fakes;
    std::unique_ptr<frmMain> m_window;
};

void TestFileMenu::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    createOnFakes(m_fakes, m_window);
    QVERIFY(showActive(m_window.get()));
}

void TestFileMenu::cleanup()
{
    m_window.reset();
    m_fakes.reset();
    m_modal.reset();
    m_dir.reset();
}

void TestFileMenu::openSelectsCharacterZeroAndFocusesIt()
{
    useModalDialogs();
    writeRaw(path("font.pf"), pattern(2048));
    QTest::mouseClick(m_window->SelFontChar(65), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), m_window->SelFontChar(65));

    m_modal->answers = {path("font.pf")};
    trigger("mnuOpen");
    QVERIFY(m_modal->tookFocus);
    QVERIFY(m_modal->focusReturned);
    QCOMPARE(m_window->windowTitle(), BaseTitle + " (font.pf)");
    QVERIFY(preview() != CharBitMap {});
    verifyCharacterZeroSelected();

    // Another dialog hands the focus back to character 0, which keeps the selection there.
    trigger("mnuSave"); // cancelled
    QVERIFY(m_modal->focusReturned);
    verifyCharacterZeroSelected();
}

void TestFileMenu::newSelectsCharacterZeroAndFocusesIt()
{
    useModalDialogs();
    QTest::mouseClick(m_window->SelFontChar(65), Qt::LeftButton);
    trigger("mnuNew");
    verifyCharacterZeroSelected();
    trigger("mnuOpen"); // cancelled
    QVERIFY(m_modal->tookFocus);
    QVERIFY(m_modal->focusReturned);
    verifyCharacterZeroSelected();
}

void TestFileMenu::openShowsEveryCharacter()
{
    prepareEditedFont();
    writeRaw(path("font.pf"), pattern(2048));
    open(path("font.pf"));
    const FontImage font = fontImageFromBytes(pattern(2048));
    for (int code = 0; code < 256; ++code)
        QCOMPARE(m_window->SelFontChar(code)->BitMap(), glyphOf(font, code));
    QCOMPARE(preview(), glyphOf(font, 0));
    QVERIFY(m_fakes->messages.shown.isEmpty());
}

void TestFileMenu::newBlanksEverything()
{
    writeRaw(path("font.pf"), pattern(2048));
    open(path("font.pf"));
    prepareEditedFont();
    trigger("mnuNew");
    for (int code = 0; code < 256; ++code) {
        QCOMPARE(m_window->SelFontChar(code)->BitMap(), CharBitMap {});
        QCOMPARE(m_window->SelFontChar(code)->BackColor(), code == 0 ? Green : QColor(Qt::white));
    }
    QCOMPARE(preview(), CharBitMap {});
    QCOMPARE(m_window->windowTitle(), BaseTitle);
    QCOMPARE(m_window->CurrentFileName(), QString());
    QVERIFY(m_fakes->messages.shown.isEmpty());
}

void TestFileMenu::appliedPixelLandsAtItsOffset()
{
    QTest::mouseClick(m_window->SelFontChar(65), Qt::LeftButton);
    QTest::mouseClick(m_window->findChild<PixelSquare *>(QStringLiteral("picPixel(0)")),
                      Qt::LeftButton);
    QTest::mouseClick(m_window->findChild<QPushButton *>(QStringLiteral("btnOK")), Qt::LeftButton);
    save(path("one.pf"));
    QByteArray expected(2048, '\0');
    expected[520] = '\x80';
    QCOMPARE(readRaw(path("one.pf")), expected);
}

void TestFileMenu::unappliedEditsAreNotSaved()
{
    prepareEditedFont();
    save(path("font.pf"));
    QByteArray expected(2048, '\0');
    for (int r = 0; r < 8; ++r)
        expected[520 + r] = static_cast<char>(CapitalA[r]);
    QCOMPARE(readRaw(path("font.pf")), expected);
    // Saving changes nothing in the window but the title.
    verifyEditedFontKept(BaseTitle + " (font.pf)", QStringLiteral("font.pf"));
}

void TestFileMenu::failuresAndCancelsKeepTheWindow()
{
    writeRaw(path("known.pf"), QByteArray(2048, '\0'));
    save(path("known.pf"));
    prepareEditedFont();
    open(QString());
    save(QString());
    open(path("missing.pf"));
    save(path("no/such/folder/font.pf"));
    QCOMPARE(m_fakes->messages.shown.size(), 2);
    verifyEditedFontKept(BaseTitle + " (known.pf)", QStringLiteral("known.pf"));
}

void TestFileMenu::captionShowsTheNameAsItIs_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("marker") << "a[*].pf";
    QTest::newRow("marker inside") << "a[*]b.pf";
    QTest::newRow("marker alone") << "[*]";
    QTest::newRow("marker twice") << "x[*][*].pf";
    QTest::newRow("bracket before marker") << "[[*].pf";
    QTest::newRow("plain") << "plain.pf";
    QTest::newRow("beyond ASCII") << QStringLiteral("Schrift \u00E4\u00F6\u00FC \u65E5\u672C.pf");
}

void TestFileMenu::captionShowsTheNameAsItIs()
{
    QFETCH(QString, name);
#ifdef Q_OS_WIN
    if (name.contains(u'*'))
        QSKIP("a file name on Windows cannot hold a '*'");
#endif
    const QString file = m_dir->filePath(name);
    writeRaw(file, pattern(2048));
    open(file);
    const QString expected = BaseTitle + " (" + name + ")";
    // What Qt shows: a "[*]" in the widget's title is a placeholder for the modified marker.
    QCOMPARE(m_window->windowHandle()->title(), expected);
    QCOMPARE(m_window->CurrentFileName(), name);
    // Even while the window counts as modified, the name shows unchanged.
    m_window->setWindowModified(true);
    QCOMPARE(m_window->windowHandle()->title(), expected);
    save(m_dir->filePath(QStringLiteral("saved.pf")));
    save(file);
    QCOMPARE(m_window->windowHandle()->title(), expected);
    QCOMPARE(readRaw(file), pattern(2048));
}

void TestFileMenu::exportLeavesTheWindowAsItWas()
{
    prepareEditedFont();
    const QString path = m_dir->filePath(QStringLiteral("font.asm"));
    m_fakes->dialogs.answers = {path};
    trigger("mneExport");
    const QByteArray source = readRaw(path);
    // The applied A is exported; the unapplied edit of character 66 is not.
    QVERIFY(
        source.contains("Char_065\t\tdb\t0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x42, 0x00\t; A\r\n"));
    QVERIFY(
        source.contains("Char_066\t\tdb\t0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00\t; B\r\n"));
    QCOMPARE(m_fakes->launcher.opened, QStringList {path});
    verifyEditedFontKept(BaseTitle, QString());
}

void TestFileMenu::exportProposesSavedName()
{
    save(path("big.pf"));
    m_fakes->dialogs.answers = {path("big.pf.asm")};
    trigger("mneExport");
    QCOMPARE(m_fakes->dialogs.requests.constLast().initialName, QStringLiteral("big.pf.asm"));
    QVERIFY(readRaw(path("big.pf.asm")).startsWith("\r\n; Font: big.pf\r\n\r\n"));
}

void TestFileMenu::exitClosesTheWindow()
{
    prepareEditedFont();
    trigger("mnuExit");
    QVERIFY(!m_window->isVisible());
    QVERIFY(m_fakes->messages.shown.isEmpty());
}

void TestFileMenu::fileGivenOpensWithoutADialog()
{
    writeRaw(path("given.pf"), pattern(2048));
    m_window->openFile(path("given.pf"));
    QVERIFY(m_fakes->dialogs.requests.isEmpty());
    QCOMPARE(m_window->windowTitle(), BaseTitle + " (given.pf)");
    QCOMPARE(m_window->SelFontChar(255)->BitMap(), glyphOf(fontImageFromBytes(pattern(2048)), 255));
    verifyCharacterZeroSelected();

    // A file that cannot be read is named in a message and changes nothing.
    trigger("mnuNew");
    prepareEditedFont();
    m_window->openFile(path("missing.pf"));
    QCOMPARE(m_fakes->messages.shown.size(), 1);
    QVERIFY(m_fakes->messages.shown[0].text.contains(QStringLiteral("missing.pf")));
    verifyEditedFontKept(BaseTitle, QString());
}

void TestFileMenu::dialogsStartInTheFontsFolder()
{
    const QList<FileDialogRequest> &requests = m_fakes->dialogs.requests;
    trigger("mnuSave"); // cancelled
    QCOMPARE(requests.constLast().folder, QString());
    writeRaw(path("font.pf"), pattern(2048));
    open(path("font.pf"));
    const QString folder = QFileInfo(path("font.pf")).absolutePath();
    for (const char *item : {"mnuSave", "mneExport", "mnuOpen"}) {
        trigger(item); // cancelled
        QCOMPARE(requests.constLast().folder, folder);
    }
    // A font imported from another folder starts the dialogs there; New starts them afresh.
    QTemporaryDir other;
    writeRaw(other.filePath(QStringLiteral("vga.psf")), psf2(256, 8, 8, indexGlyphs(256)));
    m_window->openFile(other.filePath(QStringLiteral("vga.psf")));
    trigger("mnuSave");
    QCOMPARE(requests.constLast().folder, QFileInfo(other.path()).absoluteFilePath());
    trigger("mnuNew");
    trigger("mnuSave");
    QCOMPARE(requests.constLast().folder, QString());
}

void TestFileMenu::importedFontIsSavedUnderItsOwnName()
{
    writeRaw(path("vga.psf"), psf2(256, 8, 8, indexGlyphs(256)));
    m_window->openFile(path("vga.psf"));
    QCOMPARE(m_window->SelFontChar(65)->BitMap(), indexGlyph(65));
    verifyCharacterZeroSelected();
    // The report is shown; the title names no file, as none holds the font yet.
    QCOMPARE(m_fakes->messages.shown.size(), 1);
    QVERIFY(m_fakes->messages.shown[0].text.contains(QStringLiteral("read PSF 2")));
    QCOMPARE(m_window->windowTitle(), BaseTitle);
    QCOMPARE(m_window->findChild<QAction *>(QStringLiteral("mnuUndo"))->text(),
             QStringLiteral("&Undo Import"));

    // Save proposes the source's name as a .pf, never the source itself.
    save(path("vga.pf"));
    QCOMPARE(m_fakes->dialogs.requests.constLast().initialName, QStringLiteral("vga.pf"));
    QCOMPARE(readRaw(path("vga.psf")), psf2(256, 8, 8, indexGlyphs(256)));
    QCOMPARE(fontImageFromBytes(readRaw(path("vga.pf"))), m_window->document()->font());
    QCOMPARE(m_window->windowTitle(), BaseTitle + " (vga.pf)");
}

void TestFileMenu::droppedFileOpens()
{
    writeRaw(path("dropped.pf"), pattern(2048));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path("dropped.pf"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window.get(), &drop);
    QTRY_COMPARE(m_window->windowTitle(), BaseTitle + " (dropped.pf)");
    QCOMPARE(m_window->SelFontChar(3)->BitMap(), glyphOf(fontImageFromBytes(pattern(2048)), 3));

    // Two files at once, or something that is not a file, are not taken.
    QMimeData two;
    two.setUrls({QUrl::fromLocalFile(path("a.pf")), QUrl::fromLocalFile(path("b.pf"))});
    QMimeData text;
    text.setText(QStringLiteral("hello"));
    for (QMimeData *refused : {&two, &text}) {
        QDragEnterEvent offered(QPoint(10, 10), Qt::CopyAction, refused, Qt::LeftButton,
                                Qt::NoModifier);
        offered.setAccepted(false);
        QApplication::sendEvent(m_window.get(), &offered);
        QVERIFY(!offered.isAccepted());
    }
}

void TestFileMenu::newAndOpenAreUndone_data()
{
    QTest::addColumn<QString>("item");
    QTest::newRow("New") << "mnuNew";
    QTest::newRow("Open") << "mnuOpen";
}

// A stray New or Open loses nothing: Undo brings back the font, its selection, its unapplied
// edit, its file name and its title, and Redo goes forward again.
void TestFileMenu::newAndOpenAreUndone()
{
    QFETCH(QString, item);
    writeRaw(path("known.pf"), QByteArray(2048, '\0'));
    writeRaw(path("other.pf"), pattern(2048));
    open(path("known.pf"));
    prepareEditedFont();
    m_fakes->dialogs.answers = {path("other.pf")};
    trigger(item.toLatin1().constData());
    QVERIFY(m_window->SelFontChar(65)->BitMap() != CapitalA);
    auto *undo = m_window->findChild<QAction *>(QStringLiteral("mnuUndo"));
    QCOMPARE(undo->text(), "&Undo " + item.mid(3));
    undo->trigger();
    verifyEditedFontKept(BaseTitle + " (known.pf)", QStringLiteral("known.pf"));
    QCOMPARE(m_window->windowHandle()->title(), BaseTitle + " (known.pf)");

    m_window->findChild<QAction *>(QStringLiteral("mnuRedo"))->trigger();
    QCOMPARE(m_window->SelectedIndex(), 0);
    QCOMPARE(m_window->CurrentFileName(), item == "mnuOpen" ? "other.pf" : "");
    // Undo and Redo touch no file.
    QCOMPARE(readRaw(path("known.pf")), QByteArray(2048, '\0'));
    QVERIFY(m_fakes->messages.shown.isEmpty());
}

QTEST_MAIN(TestFileMenu)
#include "tst_filemenu.moc"
