#include "childprocess.h"
#include "editor/detailspanel.h"
#include "fakes.h"
#include "testfiles.h"
#include "glyphcell/fontchar.h"
#include "app/frmmain.h"
#include "editor/pixelsquare.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

namespace {
const CharBitMap CapitalA {0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x42, 0x00};
const QColor Green(0, 255, 0);
const QString BaseTitle = QStringLiteral("8x8 ROM Glyphwright Editor");

} // namespace

// New, Open, Save and Exit from the File menu, with the file dialog answered by the test.
class TestFileCommands final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void newThenSaveWritesZeros();
    void dialogSettings();
    void loadThenSaveIsIdentical();
    void appliedPixelLandsAtItsOffset();
    void unappliedEditsAreNotSaved();
    void anyLengthLoadsWithoutMessage_data();
    void anyLengthLoadsWithoutMessage();
    void cancelKeepsEverything();
    void openSelectsCharacterZero();
    void newBlanksEverything();
    void unreadableOpenLosesNothing_data();
    void unreadableOpenLosesNothing();
    void failedSaveChangesNothing_data();
    void failedSaveChangesNothing();
    void saveFailingPartWayKeepsOldFile();
    void exitClosesTheWindow();

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
    // Cell 65 holds an applied A; cell 66 is selected with an unapplied pixel in the editor.
    void prepareEditedFont()
    {
        QTest::mouseClick(m_window->SelFontChar(65), Qt::LeftButton);
        m_window->detailsPanel()->LoadEditor(CapitalA);
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
        QCOMPARE(m_window->detailsPanel()->CurrentFontChar()->BitMap(),
                 (CharBitMap {0x80, 0, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(m_window->windowTitle(), title);
        QCOMPARE(m_window->CurrentFileName(), fileName);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeServices> m_fakes;
    std::unique_ptr<frmMain> m_window;
};

void TestFileCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_fakes = std::make_unique<FakeServices>();
    m_window = std::make_unique<frmMain>(m_fakes->services());
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestFileCommands::cleanup()
{
    m_window.reset();
    m_fakes.reset();
    m_dir.reset();
}

void TestFileCommands::newThenSaveWritesZeros()
{
    QCOMPARE(m_window->windowTitle(), BaseTitle);
    save(path("blank.pf"));
    QCOMPARE(readRaw(path("blank.pf")), QByteArray(2048, '\0'));
    QCOMPARE(m_window->windowTitle(), BaseTitle + " (blank.pf)");
    QCOMPARE(m_window->CurrentFileName(), QStringLiteral("blank.pf"));
    QVERIFY(m_fakes->messages.shown.isEmpty());
}

void TestFileCommands::dialogSettings()
{
    save(QString()); // cancelled
    open(QString());
    writeRaw(path("big.pf"), pattern(2048));
    open(path("big.pf"));
    QCOMPARE(m_window->windowTitle(), BaseTitle + " (big.pf)");
    save(QString());
    open(QString());

    const QList<FileDialogRequest> &requests = m_fakes->dialogs.requests;
    QCOMPARE(requests.size(), 5);
    const FileDialogRequest &firstSave = requests[0];
    QCOMPARE(firstSave.mode, FileDialogRequest::Mode::Save);
    QCOMPARE(firstSave.title, QStringLiteral("Save PIC SSTV Font File"));
    QCOMPARE(firstSave.filters, QStringList({"PIC Font (*.pf)", "All Files (*.*)"}));
    QCOMPARE(firstSave.allFilesFilter, QStringLiteral("All Files (*.*)"));
    QCOMPARE(firstSave.defaultSuffix, QStringLiteral("pf"));
    QCOMPARE(firstSave.initialName, QStringLiteral("font.pf"));
    QVERIFY(firstSave.confirmOverwrite);
    const FileDialogRequest &firstOpen = requests[1];
    QCOMPARE(firstOpen.mode, FileDialogRequest::Mode::Open);
    QCOMPARE(firstOpen.title, QStringLiteral("Open PIC SSTV Font File"));
    QCOMPARE(firstOpen.filters, firstSave.filters);
    QCOMPARE(firstOpen.defaultSuffix, QStringLiteral("pf"));
    QVERIFY(firstOpen.mustExist);
    // After opening big.pf, Save proposes it; Open always proposes font.pf.
    QCOMPARE(requests[3].initialName, QStringLiteral("big.pf"));
    QCOMPARE(requests[4].initialName, QStringLiteral("font.pf"));
}

void TestFileCommands::loadThenSaveIsIdentical()
{
    writeRaw(path("in.pf"), pattern(2048));
    open(path("in.pf"));
    save(path("out.pf"));
    QCOMPARE(readRaw(path("out.pf")), pattern(2048));
    // Saving over a longer file leaves exactly 2,048 bytes.
    writeRaw(path("long.pf"), pattern(9000));
    save(path("long.pf"));
    QCOMPARE(readRaw(path("long.pf")), pattern(2048));
}

void TestFileCommands::appliedPixelLandsAtItsOffset()
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

void TestFileCommands::unappliedEditsAreNotSaved()
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

void TestFileCommands::anyLengthLoadsWithoutMessage_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("empty") << 0;
    QTest::newRow("100 bytes") << 100;
    QTest::newRow("longer") << 3000;
}

void TestFileCommands::anyLengthLoadsWithoutMessage()
{
    QFETCH(int, size);
    prepareEditedFont();
    const QByteArray bytes = pattern(size);
    writeRaw(path("odd.pf"), bytes);
    open(path("odd.pf"));
    QVERIFY(m_fakes->messages.shown.isEmpty());
    for (int code = 0; code < 256; ++code) {
        const CharBitMap glyph = m_window->SelFontChar(code)->BitMap();
        for (int r = 0; r < 8; ++r) {
            const int offset = code * 8 + r;
            QCOMPARE(int(glyph[r]),
                     offset < size ? int(static_cast<std::uint8_t>(bytes[offset])) : 0);
        }
    }
    QCOMPARE(m_window->windowTitle(), BaseTitle + " (odd.pf)");
}

void TestFileCommands::cancelKeepsEverything()
{
    prepareEditedFont();
    open(QString());
    save(QString());
    verifyEditedFontKept(BaseTitle, QString());
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

void TestFileCommands::openSelectsCharacterZero()
{
    writeRaw(path("font.pf"), pattern(2048));
    QTest::mouseClick(m_window->SelFontChar(65), Qt::LeftButton);
    open(path("font.pf"));
    QCOMPARE(m_window->SelectedIndex(), 0);
    QCOMPARE(m_window->SelFontChar(0)->BackColor(), Green);
    QCOMPARE(m_window->SelFontChar(65)->BackColor(), QColor(Qt::white));
    QCOMPARE(m_window->detailsPanel()->CurrentFontChar()->BitMap(),
             m_window->SelFontChar(0)->BitMap());
}

void TestFileCommands::newBlanksEverything()
{
    writeRaw(path("font.pf"), pattern(2048));
    open(path("font.pf"));
    prepareEditedFont();
    trigger("mnuNew");
    for (int code = 0; code < 256; ++code) {
        QCOMPARE(m_window->SelFontChar(code)->BitMap(), CharBitMap {});
        QCOMPARE(m_window->SelFontChar(code)->BackColor(), code == 0 ? Green : QColor(Qt::white));
    }
    QCOMPARE(m_window->detailsPanel()->CurrentFontChar()->BitMap(), CharBitMap {});
    QCOMPARE(m_window->windowTitle(), BaseTitle);
    QCOMPARE(m_window->CurrentFileName(), QString());
    QVERIFY(m_fakes->messages.shown.isEmpty());
}

void TestFileCommands::unreadableOpenLosesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing.pf"
                             << "No such file or directory.";
    QTest::newRow("folder") << "folder.pf"
                            << "It is a folder, not a file.";
    QTest::newRow("fifo") << "pipe.pf"
                          << "It is not a regular file.";
}

void TestFileCommands::unreadableOpenLosesNothing()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.pf")));
    QVERIFY(
        ::mkfifo(QFile::encodeName(m_dir->filePath(QStringLiteral("pipe.pf"))).constData(), 0644)
        == 0);
    writeRaw(path("known.pf"), QByteArray(2048, '\0'));
    save(path("known.pf"));
    prepareEditedFont();

    open(m_dir->filePath(name));
    QCOMPARE(m_fakes->messages.shown.size(), 1);
    const ShownMessage &message = m_fakes->messages.shown.constFirst();
    QCOMPARE(message.icon, Messages::Icon::Warning);
    QVERIFY2(message.text.contains(m_dir->filePath(name)), qPrintable(message.text));
    QVERIFY2(message.text.contains(reason), qPrintable(message.text));
    verifyEditedFontKept(BaseTitle + " (known.pf)", QStringLiteral("known.pf"));
}

void TestFileCommands::failedSaveChangesNothing_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("missing folder") << "no/such/folder/font.pf";
    QTest::newRow("onto a folder") << "folder.pf";
}

void TestFileCommands::failedSaveChangesNothing()
{
    QFETCH(QString, target);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.pf")));
    prepareEditedFont();
    save(m_dir->filePath(target));
    QCOMPARE(m_fakes->messages.shown.size(), 1);
    const ShownMessage &message = m_fakes->messages.shown.constFirst();
    QVERIFY2(message.text.contains(m_dir->filePath(target)), qPrintable(message.text));
    QVERIFY(!message.text.contains(QLatin1String("Unknown error")));
    verifyEditedFontKept(BaseTitle, QString());
    QVERIFY(QFileInfo(m_dir->filePath(QStringLiteral("folder.pf"))).isDir());
}

void TestFileCommands::saveFailingPartWayKeepsOldFile()
{
    writeRaw(path("old.pf"), pattern(2048));
    open(path("old.pf"));
    prepareEditedFont();
    {
        const FileSizeLimit limit(1000);
        save(path("old.pf"));
    }
    QCOMPARE(m_fakes->messages.shown.size(), 1);
    QVERIFY2(m_fakes->messages.shown[0].text.contains(QLatin1String("File too large")),
             qPrintable(m_fakes->messages.shown[0].text));
    QCOMPARE(readRaw(path("old.pf")), pattern(2048));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList {QStringLiteral("old.pf")});
}

void TestFileCommands::exitClosesTheWindow()
{
    prepareEditedFont();
    trigger("mnuExit");
    QVERIFY(!m_window->isVisible());
    QVERIFY(m_fakes->messages.shown.isEmpty());
}

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
