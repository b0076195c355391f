#include "fontfile/filecommands.h"
#include "support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <memory>

#include <sys/stat.h>

namespace {
// A font whose character 65 is an A, as a host holds it before a command runs.
FontImage fontWithA()
{
    FontImage font {};
    setGlyph(font, 65, CapitalA);
    return font;
}

// The child's tasks: "--open PATH" or "--save PATH" runs the command on a host that holds an A,
// with the dialog answering PATH, and prints each message on a line of its own, then the calls
// the host saw.
int childMain(int, char **argv)
{
    FakeHost host;
    host.shownFont = fontWithA();
    FakeServices fakes;
    fakes.dialogs.answers = {QString::fromLocal8Bit(argv[2])};
    FileCommands commands(host, fakes.services());
    if (std::strcmp(argv[1], "--open") == 0)
        commands.open();
    else
        commands.save();
    for (const ShownMessage &message : std::as_const(fakes.messages.shown))
        std::printf("message: %s\n", qPrintable(QString(message.text).replace(u'\n', u' ')));
    std::printf("calls: %s\n", qPrintable(host.calls.join(u',')));
    return host.shownFont == fontWithA() ? 0 : 1;
}
} // namespace

// New, Open and Save as the File commands carry them out on a window that holds a font and a
// title, with the file dialog answered by the test.
class TestFileCommands final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void newThenSaveWritesZeros();
    void newBlanksFontAndSelectsFirst();
    void dialogSettings();
    void loadThenSaveIsIdentical();
    void anyLengthLoadsWithoutMessage_data();
    void anyLengthLoadsWithoutMessage();
    void cancelKeepsEverything();
    void unreadableOpenLosesNothing_data();
    void unreadableOpenLosesNothing();
    void fifoOpenLosesNothing();
    void failedSaveChangesNothing_data();
    void failedSaveChangesNothing();
    void saveFailingPartWayKeepsOldFile();
    void saveLeavesSpecialFilesAlone_data();
    void saveLeavesSpecialFilesAlone();

private:
    void open(const QString &path)
    {
        m_fakes->dialogs.answers = {path};
        m_commands->open();
    }
    void save(const QString &path)
    {
        m_fakes->dialogs.answers = {path};
        m_commands->save();
    }
    QString path(const char *name) const { return m_dir->filePath(QLatin1String(name)); }
    // Nothing was asked of the host: the font, the selection and the title stay as they were.
    void verifyHostUntouched()
    {
        QCOMPARE(m_host->calls, QStringList());
        QCOMPARE(m_host->shownFont, fontWithA());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeServices> m_fakes;
    std::unique_ptr<FakeHost> m_host;
    std::unique_ptr<FileCommands> m_commands;
};

void TestFileCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_fakes = std::make_unique<FakeServices>();
    m_host = std::make_unique<FakeHost>();
    m_host->shownFont = fontWithA();
    m_commands = std::make_unique<FileCommands>(*m_host, m_fakes->services());
}

void TestFileCommands::cleanup()
{
    m_commands.reset();
    m_host.reset();
    m_fakes.reset();
    m_dir.reset();
}

void TestFileCommands::newThenSaveWritesZeros()
{
    m_commands->newFont();
    save(path("blank.pf"));
    QCOMPARE(readRaw(path("blank.pf")), QByteArray(2048, '\0'));
    QCOMPARE(m_host->shownTitle.caption, BaseTitle + " (blank.pf)");
    QCOMPARE(m_host->currentFileName(), QStringLiteral("blank.pf"));
    QVERIFY(m_fakes->messages.shown.isEmpty());
}

void TestFileCommands::newBlanksFontAndSelectsFirst()
{
    writeRaw(path("font.pf"), pattern(2048));
    open(path("font.pf"));
    m_host->calls.clear();
    m_commands->newFont();
    QCOMPARE(m_host->shownFont, FontImage {});
    QCOMPARE(m_host->shownTitle.caption, BaseTitle);
    QCOMPARE(m_host->currentFileName(), QString());
    // Selected last, so that character 0 is selected in the blank font.
    QCOMPARE(m_host->calls.constLast(), QStringLiteral("selectFirstCharacter"));
    QVERIFY(m_fakes->messages.shown.isEmpty());
}

void TestFileCommands::dialogSettings()
{
    save(QString()); // cancelled
    open(QString());
    writeRaw(path("big.pf"), pattern(2048));
    open(path("big.pf"));
    QCOMPARE(m_host->shownTitle.caption, BaseTitle + " (big.pf)");
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
    QVERIFY(m_fakes->messages.shown.isEmpty());
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
    const QByteArray bytes = pattern(size);
    writeRaw(path("odd.pf"), bytes);
    open(path("odd.pf"));
    QVERIFY(m_fakes->messages.shown.isEmpty());
    // The A held before is gone: bytes the file lacks are zero.
    for (int offset = 0; offset < FontFileSize; ++offset)
        QCOMPARE(int(m_host->shownFont[offset]),
                 offset < size ? int(static_cast<std::uint8_t>(bytes[offset])) : 0);
    QCOMPARE(m_host->shownTitle.caption, BaseTitle + " (odd.pf)");
    QCOMPARE(m_host->calls.constLast(), QStringLiteral("selectFirstCharacter"));
}

void TestFileCommands::cancelKeepsEverything()
{
    open(QString());
    save(QString());
    verifyHostUntouched();
    QVERIFY(m_fakes->messages.shown.isEmpty());
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

void TestFileCommands::unreadableOpenLosesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing.pf"
                             << "No such file or directory.";
    QTest::newRow("folder") << "folder.pf"
                            << "It is a folder, not a file.";
}

void TestFileCommands::unreadableOpenLosesNothing()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.pf")));
    open(m_dir->filePath(name));
    QCOMPARE(m_fakes->messages.shown.size(), 1);
    const ShownMessage &message = m_fakes->messages.shown.constFirst();
    QCOMPARE(message.icon, Messages::Icon::Warning);
    QVERIFY2(message.text.contains(QDir::toNativeSeparators(m_dir->filePath(name))),
             qPrintable(message.text));
    QVERIFY2(message.text.contains(reason), qPrintable(message.text));
    verifyHostUntouched();
}

void TestFileCommands::fifoOpenLosesNothing()
{
    MAKE_SPECIAL_FILE_OR_SKIP(QStringLiteral("fifo"), path("pipe.pf"));
    // In a child, so that a reader that blocks on the FIFO fails this test instead of hanging it.
    const ChildResult child = runChild({QStringLiteral("--open"), path("pipe.pf")}, false);
    QCOMPARE(child.exitCode, 0);
    QVERIFY2(child.output.contains("It is not a regular file."), child.output.constData());
    QVERIFY2(child.output.contains(QFile::encodeName(path("pipe.pf"))), child.output.constData());
    QVERIFY2(child.output.endsWith("calls: \n"), child.output.constData());
}

void TestFileCommands::failedSaveChangesNothing_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing folder") << "no/such/folder/font.pf"
                                    << "No such file or directory.";
    QTest::newRow("onto a folder") << "folder.pf"
                                   << "It is a folder, not a file.";
}

void TestFileCommands::failedSaveChangesNothing()
{
    QFETCH(QString, target);
    QFETCH(QString, reason);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.pf")));
    save(m_dir->filePath(target));
    QCOMPARE(m_fakes->messages.shown.size(), 1);
    const ShownMessage &message = m_fakes->messages.shown.constFirst();
    QVERIFY2(message.text.contains(QDir::toNativeSeparators(m_dir->filePath(target))),
             qPrintable(message.text));
    QVERIFY2(message.text.contains(reason), qPrintable(message.text));
    verifyHostUntouched();
    QVERIFY(QFileInfo(m_dir->filePath(QStringLiteral("folder.pf"))).isDir());
}

void TestFileCommands::saveFailingPartWayKeepsOldFile()
{
    writeRaw(path("old.pf"), pattern(2048));
    {
        LIMIT_FILE_SIZE_OR_SKIP(1000);
        save(path("old.pf"));
    }
    QCOMPARE(m_fakes->messages.shown.size(), 1);
    QVERIFY2(m_fakes->messages.shown[0].text.contains(QLatin1String("File too large")),
             qPrintable(m_fakes->messages.shown[0].text));
    QCOMPARE(readRaw(path("old.pf")), pattern(2048));
    QCOMPARE(folderEntries(m_dir->path()), QStringList {QStringLiteral("old.pf")});
    verifyHostUntouched();
}

void TestFileCommands::saveLeavesSpecialFilesAlone_data()
{
    addSpecialFileRows();
}

void TestFileCommands::saveLeavesSpecialFilesAlone()
{
    QFETCH(QString, kind);
    MAKE_SPECIAL_FILE_OR_SKIP(kind, path("special.pf"));
    const QStringList before = folderSnapshot(m_dir->path());
    // In a child, so that a writer that opens the FIFO and blocks fails instead of hanging.
    const ChildResult child = runChild({QStringLiteral("--save"), path("special.pf")}, false);
    QCOMPARE(child.exitCode, 0);
    QVERIFY2(child.output.contains("could not be saved"), child.output.constData());
    QVERIFY2(child.output.contains("It is not a regular file."), child.output.constData());
    QVERIFY2(child.output.endsWith("calls: \n"), child.output.constData());
    QCOMPARE(folderSnapshot(m_dir->path()), before);
}

int main(int argc, char **argv)
{
    return testMainWithChild<TestFileCommands>(argc, argv, childMain);
}

#include "tst_filecommands.moc"
