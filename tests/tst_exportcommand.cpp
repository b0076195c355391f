#include "childprocess.h"
#include "editor/detailspanel.h"
#include "fakes.h"
#include "testfiles.h"
#include "glyphcell/fontchar.h"
#include "app/frmmain.h"
#include "editor/pixelsquare.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
const CharBitMap CapitalA {0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x42, 0x00};

} // namespace

// File, Export from the main window: what is written, what is proposed and what is launched.
class TestExportCommand final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void exportsAppliedFontAndOpensIt();
    void proposesFontFileName();
    void cancelWritesNothing();
    void failureKeepsExistingFileAndStartsNothing();

private:
    void exportTo(const QString &path)
    {
        m_fakes->dialogs.answers = {path};
        m_window->findChild<QAction *>(QStringLiteral("mneExport"))->trigger();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeServices> m_fakes;
    std::unique_ptr<frmMain> m_window;
};

void TestExportCommand::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_fakes = std::make_unique<FakeServices>();
    m_window = std::make_unique<frmMain>(m_fakes->services());
    m_window->show();
}

void TestExportCommand::cleanup()
{
    m_window.reset();
    m_fakes.reset();
    m_dir.reset();
}

void TestExportCommand::exportsAppliedFontAndOpensIt()
{
    QTest::mouseClick(m_window->SelFontChar(65), Qt::LeftButton);
    m_window->detailsPanel()->LoadEditor(CapitalA);
    QTest::mouseClick(m_window->findChild<QPushButton *>(QStringLiteral("btnOK")), Qt::LeftButton);
    // An unapplied edit of another character stays out of the export.
    QTest::mouseClick(m_window->SelFontChar(66), Qt::LeftButton);
    QTest::mouseClick(m_window->findChild<PixelSquare *>(QStringLiteral("picPixel(0)")),
                      Qt::LeftButton);

    const QString path = m_dir->filePath(QStringLiteral("font.asm"));
    writeRaw(path, QByteArray(40000, 'x'));
    exportTo(path);

    const QByteArray source = readRaw(path);
    QCOMPARE(source.size(), 16652);
    QVERIFY(
        source.contains("Char_065\t\tdb\t0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x42, 0x00\t; A\r\n"));
    QVERIFY(
        source.contains("Char_066\t\tdb\t0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00\t; B\r\n"));
    QCOMPARE(m_fakes->launcher.opened, QStringList {path});
    QVERIFY(m_fakes->messages.shown.isEmpty());
    // Exporting changes no state.
    QCOMPARE(m_window->SelectedIndex(), 66);
    QCOMPARE(m_window->CurrentFileName(), QString());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("8x8 ROM Glyphwright Editor"));
}

void TestExportCommand::proposesFontFileName()
{
    exportTo(QString());
    m_fakes->dialogs.answers = {m_dir->filePath(QStringLiteral("big.pf"))};
    m_window->findChild<QAction *>(QStringLiteral("mnuSave"))->trigger();
    exportTo(m_dir->filePath(QStringLiteral("big.pf.asm")));
    QCOMPARE(m_fakes->dialogs.requests[0].initialName, QStringLiteral("font.asm"));
    QCOMPARE(m_fakes->dialogs.requests[2].initialName, QStringLiteral("big.pf.asm"));
    QVERIFY(readRaw(m_dir->filePath(QStringLiteral("big.pf.asm")))
                .startsWith("\r\n; Font: big.pf\r\n\r\n"));
}

void TestExportCommand::cancelWritesNothing()
{
    exportTo(QString());
    QVERIFY(QDir(m_dir->path()).isEmpty());
    QVERIFY(m_fakes->launcher.opened.isEmpty());
}

void TestExportCommand::failureKeepsExistingFileAndStartsNothing()
{
    // A folder in the way: the export cannot replace it.
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("taken.asm")));
    exportTo(m_dir->filePath(QStringLiteral("taken.asm")));
    exportTo(m_dir->filePath(QStringLiteral("missing/font.asm")));
    QCOMPARE(m_fakes->messages.shown.size(), 2);
    QVERIFY(m_fakes->messages.shown[0].text.contains(m_dir->filePath(QStringLiteral("taken.asm"))));
    QVERIFY(m_fakes->messages.shown[1].text.contains(
        m_dir->filePath(QStringLiteral("missing/font.asm"))));
    QVERIFY(m_fakes->launcher.opened.isEmpty());
    QVERIFY(QFileInfo(m_dir->filePath(QStringLiteral("taken.asm"))).isDir());

    // A write that fails part way leaves the existing export byte for byte.
    const QString existing = m_dir->filePath(QStringLiteral("old.asm"));
    writeRaw(existing, QByteArray(3000, 'k'));
    {
        const FileSizeLimit limit(10000);
        exportTo(existing);
    }
    QCOMPARE(m_fakes->messages.shown.size(), 3);
    QVERIFY2(m_fakes->messages.shown[2].text.contains(QLatin1String("File too large")),
             qPrintable(m_fakes->messages.shown[2].text));
    QCOMPARE(readRaw(existing), QByteArray(3000, 'k'));
    QVERIFY(m_fakes->launcher.opened.isEmpty());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList {QStringLiteral("old.asm")});
}

QTEST_MAIN(TestExportCommand)
#include "tst_exportcommand.moc"
