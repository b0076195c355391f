#include "fontfile/filecommands.h"
#include "support/formatfixtures.h"
#include "support/support.h"

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
// A font whose character 65 is an A.
FontImage fontWithA()
{
    FontImage font {};
    setGlyph(font, 65, CapitalA);
    return font;
}

// The child's tasks: "--open PATH" or "--save PATH" runs the command with the dialog answering
// PATH (Save writes a font that holds an A) and prints each message on a line of its own, then
// the caption it returned, or "none".
int childMain(int, char **argv)
{
    FakeServices fakes;
    fakes.dialogs.answers = {QString::fromLocal8Bit(argv[2])};
    std::optional<EditorTitle> title;
    if (std::strcmp(argv[1], "--open") == 0) {
        if (const std::optional<OpenedFont> opened = openFont(nullptr, fakes.services()))
            title = opened->title;
    } else {
        if (const std::optional<SavedFont> saved
            = saveFont(nullptr, fakes.services(), fontWithA(), QString()))
            title = saved->title;
    }
    for (const ShownMessage &message : std::as_const(fakes.messages.shown))
        std::printf("message: %s\n", qPrintable(QString(message.text).replace(u'\n', u' ')));
    std::printf("result: %s\n", title ? qPrintable(title->caption) : "none");
    return 0;
}
} // namespace

// Open and Save with the file dialog answered by the test: the font and title they return, the
// files they write and the messages they show.
class TestFileCommands final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void saveWritesTheFontAndNamesIt();
    void dialogSettings();
    void openThenSaveIsIdentical();
    void anyLengthOpensWithoutMessage_data();
    void anyLengthOpensWithoutMessage();
    void cancelReturnsNothing();
    void unreadableOpenReturnsNothing_data();
    void unreadableOpenReturnsNothing();
    void fifoOpenReturnsNothing();
    void failedSaveReturnsNothing_data();
    void failedSaveReturnsNothing();
    void saveFailingPartWayKeepsOldFile();
    void saveLeavesSpecialFilesAlone_data();
    void saveLeavesSpecialFilesAlone();
    void givenFileOpensOrImports_data();
    void givenFileOpensOrImports();

private:
    std::optional<OpenedFont> open(const QString &path)
    {
        m_fakes->dialogs.answers = {path};
        return openFont(nullptr, m_fakes->services());
    }
    std::optional<EditorTitle> save(const QString &path, const FontImage &font = fontWithA(),
                                    const QString &currentFileName = QString())
    {
        m_fakes->dialogs.answers = {path};
        const std::optional<SavedFont> saved
            = saveFont(nullptr, m_fakes->services(), font, currentFileName);
        if (saved)
            return saved->title;
        return std::nullopt;
    }
    QString path(const char *name) const { return m_dir->filePath(QLatin1String(name)); }
    // One warning that names the file and gives the reason.
    void verifyOneMessage(const QString &file, const QString &reason)
    {
        QCOMPARE(m_fakes->messages.shown.size(), 1);
        const ShownMessage &message = m_fakes->messages.shown.constFirst();
        QCOMPARE(message.icon, Messages::Icon::Warning);
        QVERIFY2(message.text.contains(QDir::toNativeSeparators(file)), qPrintable(message.text));
        QVERIFY2(message.text.contains(reason), qPrintable(message.text));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeServices> m_fakes;
};

void TestFileCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_fakes = std::make_unique<FakeServices>();
}

void TestFileCommands::cleanup()
{
    m_fakes.reset();
    m_dir.reset();
}

void TestFileCommands::saveWritesTheFontAndNamesIt()
{
    const std::optional<EditorTitle> blank = save(path("blank.pf"), FontImage {});
    QVERIFY(blank);
    QCOMPARE(readRaw(path("blank.pf")), QByteArray(2048, '\0'));
    QCOMPARE(blank->caption, BaseTitle + " (blank.pf)");
    QCOMPARE(blank->fileName, QStringLiteral("blank.pf"));

    QVERIFY(save(path("a.pf")));
    QCOMPARE(readRaw(path("a.pf")), fontFileBytes(fontWithA()));
    QVERIFY(m_fakes->messages.shown.isEmpty());
}

void TestFileCommands::dialogSettings()
{
    QVERIFY(!save(QString())); // cancelled
    QVERIFY(!open(QString()));
    writeRaw(path("big.pf"), pattern(2048));
    const std::optional<OpenedFont> opened = open(path("big.pf"));
    QVERIFY(opened);
    QCOMPARE(opened->title.caption, BaseTitle + " (big.pf)");
    QVERIFY(!save(QString(), opened->font, opened->title.fileName));
    QVERIFY(!open(QString()));

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

void TestFileCommands::openThenSaveIsIdentical()
{
    writeRaw(path("in.pf"), pattern(2048));
    const std::optional<OpenedFont> opened = open(path("in.pf"));
    QVERIFY(opened);
    QVERIFY(save(path("out.pf"), opened->font));
    QCOMPARE(readRaw(path("out.pf")), pattern(2048));
    // Saving over a longer file leaves exactly 2,048 bytes.
    writeRaw(path("long.pf"), pattern(9000));
    QVERIFY(save(path("long.pf"), opened->font));
    QCOMPARE(readRaw(path("long.pf")), pattern(2048));
    QVERIFY(m_fakes->messages.shown.isEmpty());
}

void TestFileCommands::anyLengthOpensWithoutMessage_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("empty") << 0;
    QTest::newRow("100 bytes") << 100;
    QTest::newRow("longer") << 3000;
}

void TestFileCommands::anyLengthOpensWithoutMessage()
{
    QFETCH(int, size);
    const QByteArray bytes = pattern(size);
    writeRaw(path("odd.pf"), bytes);
    const std::optional<OpenedFont> opened = open(path("odd.pf"));
    QVERIFY(opened);
    QVERIFY(m_fakes->messages.shown.isEmpty());
    // Bytes the file lacks are zero.
    for (int offset = 0; offset < FontFileSize; ++offset)
        QCOMPARE(int(opened->font[offset]),
                 offset < size ? int(static_cast<std::uint8_t>(bytes[offset])) : 0);
    QCOMPARE(opened->title.caption, BaseTitle + " (odd.pf)");
    QCOMPARE(opened->title.fileName, QStringLiteral("odd.pf"));
}

void TestFileCommands::cancelReturnsNothing()
{
    QVERIFY(!open(QString()));
    QVERIFY(!save(QString()));
    QVERIFY(m_fakes->messages.shown.isEmpty());
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

void TestFileCommands::unreadableOpenReturnsNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing.pf"
                             << "No such file or directory.";
    QTest::newRow("folder") << "folder.pf"
                            << "It is a folder, not a file.";
}

void TestFileCommands::unreadableOpenReturnsNothing()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.pf")));
    QVERIFY(!open(m_dir->filePath(name)));
    verifyOneMessage(m_dir->filePath(name), reason);
}

void TestFileCommands::fifoOpenReturnsNothing()
{
    MAKE_SPECIAL_FILE_OR_SKIP(QStringLiteral("fifo"), path("pipe.pf"));
    // In a child, so that a reader that blocks on the FIFO fails this test instead of hanging it.
    const ChildResult child = runChild({QStringLiteral("--open"), path("pipe.pf")}, false);
    QCOMPARE(child.exitCode, 0);
    QVERIFY2(child.output.contains("It is not a regular file."), child.output.constData());
    QVERIFY2(child.output.contains(QFile::encodeName(path("pipe.pf"))), child.output.constData());
    QVERIFY2(child.output.endsWith("result: none\n"), child.output.constData());
}

void TestFileCommands::failedSaveReturnsNothing_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing folder") << "no/such/folder/font.pf"
                                    << "No such file or directory.";
    QTest::newRow("onto a folder") << "folder.pf"
                                   << "It is a folder, not a file.";
}

void TestFileCommands::failedSaveReturnsNothing()
{
    QFETCH(QString, target);
    QFETCH(QString, reason);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.pf")));
    QVERIFY(!save(m_dir->filePath(target)));
    verifyOneMessage(m_dir->filePath(target), reason);
    QVERIFY(QFileInfo(m_dir->filePath(QStringLiteral("folder.pf"))).isDir());
}

void TestFileCommands::saveFailingPartWayKeepsOldFile()
{
    writeRaw(path("old.pf"), pattern(2048));
    {
        LIMIT_FILE_SIZE_OR_SKIP(1000);
        QVERIFY(!save(path("old.pf")));
    }
    verifyOneMessage(path("old.pf"), QStringLiteral("File too large"));
    QCOMPARE(readRaw(path("old.pf")), pattern(2048));
    QCOMPARE(folderEntries(m_dir->path()), QStringList {QStringLiteral("old.pf")});
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
    QVERIFY2(child.output.endsWith("result: none\n"), child.output.constData());
    QCOMPARE(folderSnapshot(m_dir->path()), before);
}

void TestFileCommands::givenFileOpensOrImports_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("outcome"); // "pf", "import" or the reason of the message
    QTest::addColumn<int>("code"); // a code whose glyph tells which font was read
    QTest::addColumn<CharBitMap>("glyph");
    const QByteArray psf = psf2(256, 8, 8, indexGlyphs(256));
    const FontImage patterned = fontImageFromBytes(pattern(2048));
    QTest::newRow(".pf") << "font.pf" << pattern(2048) << "pf" << 3 << glyphOf(patterned, 3);
    // The name says .pf: the content is not looked into, even when it starts like a PSF.
    QTest::newRow(".PF holding a PSF")
        << "FONT.PF" << psf << "pf" << 0 << glyphOf(fontImageFromBytes(psf), 0);
    QTest::newRow("PSF 2") << "vga.psf" << psf << "import" << 200 << indexGlyph(200);
    QTest::newRow("PSF 2, gzip-compressed")
        << "vga.psf.gz" << gzipped(psf) << "import" << 7 << indexGlyph(7);
    QTest::newRow("PSF named otherwise") << "vga.bin" << psf << "import" << 65 << indexGlyph(65);
    // Content no reader claims is a font, as Open reads any file.
    QTest::newRow("unknown content")
        << "rom.bin" << pattern(2048) << "pf" << 3 << glyphOf(patterned, 3);
    QTest::newRow("damaged PSF") << "cut.psf" << psf.left(40) << "PSF" << 0 << CharBitMap {};
    QTest::newRow("JPEG") << "photo.jpg" << QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF", 10) << "JPEG"
                          << 0 << CharBitMap {};
}

void TestFileCommands::givenFileOpensOrImports()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, outcome);
    QFETCH(int, code);
    QFETCH(CharBitMap, glyph);
    const QString file = m_dir->filePath(name);
    writeRaw(file, bytes);
    const std::optional<OpenedFont> opened = openGivenFile(nullptr, m_fakes->services(), file);
    QVERIFY(m_fakes->dialogs.requests.isEmpty());
    if (outcome != QLatin1String("pf") && outcome != QLatin1String("import")) {
        QVERIFY(!opened);
        verifyOneMessage(file, outcome);
        return;
    }
    QVERIFY(opened);
    QVERIFY(m_fakes->messages.shown.isEmpty());
    QCOMPARE(glyphOf(opened->font, code), glyph);
    QCOMPARE(opened->path, file);
    QCOMPARE(opened->imported, outcome == QLatin1String("import"));
    // An import names no .pf file; its report says what was read.
    QCOMPARE(opened->title.fileName, opened->imported ? QString() : name);
    QCOMPARE(opened->report.contains(QStringLiteral("read ")), opened->imported);
}

int main(int argc, char **argv)
{
    return testMainWithChild<TestFileCommands>(argc, argv, childMain);
}

#include "tst_filecommands.moc"
