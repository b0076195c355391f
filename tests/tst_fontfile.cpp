#include "core/fileio.h"
#include "core/fontimage.h"
#include "support.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// The child's tasks: "--read PATH" prints the error or "ok N"; "--write PATH SIZE [LIMIT]"
// writes SIZE bytes atomically under an optional file-size limit and prints the error or "ok".
int childMain(int argc, char **argv)
{
    const QString path = QString::fromLocal8Bit(argv[2]);
    if (std::strcmp(argv[1], "--read") == 0) {
        const ReadResult result = readFileStart(path, FontFileSize);
        std::printf("%s\n", result.error.isEmpty()
                                ? qPrintable(QStringLiteral("ok %1").arg(result.bytes.size()))
                                : qPrintable(result.error));
        return result.error.isEmpty() ? 0 : 1;
    }
    if (argc > 4) {
        rlimit limit {};
        limit.rlim_cur = limit.rlim_max = std::strtoul(argv[4], nullptr, 10);
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    const QString error = writeFileAtomically(path, QByteArray(std::atoi(argv[3]), '\x5A'));
    std::printf("%s\n", error.isEmpty() ? "ok" : qPrintable(error));
    return error.isEmpty() ? 0 : 1;
}
} // namespace

// The .pf byte layout and the safe reading and atomic writing of files.
class TestFontFile final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void recordOffsets_data();
    void recordOffsets();
    void anyLengthIsAFont_data();
    void anyLengthIsAFont();
    void readsOnlyTheStart();
    void readRefusesWhatIsNotAFile();
    void readNeverBlocksOnFifo();
    void readNeverCreatesMissingFile();
    void readWithoutPermission();
    void writeReplacesWholeFile();
    void writeIntoMissingFolderFails();
    void writeIntoReadOnlyFolderKeepsOldFile();
    void writeFailingPartWayKeepsOldFile();
    void writeLeavesSpecialFilesAlone_data();
    void writeLeavesSpecialFilesAlone();
    void writeThroughLinkKeepsLink();
    void newFileModeFollowsUmask_data();
    void newFileModeFollowsUmask();
    void replacedFileKeepsMode_data();
    void replacedFileKeepsMode();
    void longNamesAreReplaced_data();
    void longNamesAreReplaced();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const char *name) const { return m_dir->filePath(QLatin1String(name)); }
};

void TestFontFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // Reachable for the unprivileged child as well.
    QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                             | QFile::ReadOther | QFile::ExeOther);
}

void TestFontFile::recordOffsets_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("offset");
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("space") << 32 << 256;
    QTest::newRow("A") << 65 << 520;
    QTest::newRow("255") << 255 << 2040;
}

void TestFontFile::recordOffsets()
{
    QFETCH(int, code);
    QFETCH(int, offset);
    FontImage font {};
    setGlyph(font, code, CharBitMap {1, 2, 3, 4, 5, 6, 7, 8});
    const QByteArray bytes = fontFileBytes(font);
    QCOMPARE(bytes.size(), 2048);
    for (int i = 0; i < 2048; ++i) {
        const int expected = (i >= offset && i < offset + 8) ? i - offset + 1 : 0;
        QCOMPARE(int(bytes[i]), expected);
    }
    QCOMPARE(glyphOf(fontImageFromBytes(bytes), code), (CharBitMap {1, 2, 3, 4, 5, 6, 7, 8}));
}

void TestFontFile::anyLengthIsAFont_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("empty") << 0;
    QTest::newRow("100 bytes") << 100;
    QTest::newRow("exact") << 2048;
    QTest::newRow("longer") << 5000;
}

void TestFontFile::anyLengthIsAFont()
{
    QFETCH(int, size);
    const QByteArray bytes = pattern(size);
    const FontImage font = fontImageFromBytes(bytes);
    for (int i = 0; i < 2048; ++i)
        QCOMPARE(int(font[i]), i < size ? int(static_cast<std::uint8_t>(bytes[i])) : 0);
    if (size == 100) {
        // Character 12 takes its top four rows from bytes 96 to 99.
        const CharBitMap twelve = glyphOf(font, 12);
        QCOMPARE(int(twelve[3]), int(static_cast<std::uint8_t>(bytes[99])));
        QCOMPARE(int(twelve[4]), 0);
    }
}

void TestFontFile::readsOnlyTheStart()
{
    writeRaw(path("long.pf"), pattern(100000));
    const ReadResult result = readFileStart(path("long.pf"), FontFileSize);
    QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    QCOMPARE(result.bytes, pattern(2048));
}

void TestFontFile::readRefusesWhatIsNotAFile()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.pf")));
    const ReadResult folder = readFileStart(path("folder.pf"), FontFileSize);
    QCOMPARE(folder.error, QStringLiteral("It is a folder, not a file."));
    const ReadResult device = readFileStart(QStringLiteral("/dev/zero"), FontFileSize);
    QCOMPARE(device.error, QStringLiteral("It is not a regular file."));
    const ReadResult missing = readFileStart(path("missing.pf"), FontFileSize);
    QCOMPARE(missing.error, QStringLiteral("No such file or directory."));
}

void TestFontFile::readNeverBlocksOnFifo()
{
    QVERIFY(::mkfifo(QFile::encodeName(path("pipe.pf")).constData(), 0644) == 0);
    // In a child, so that a regression hangs the child and fails here instead of hanging us.
    const ChildResult child = runChild({QStringLiteral("--read"), path("pipe.pf")}, false);
    QCOMPARE(child.exitCode, 1);
    QCOMPARE(child.output.trimmed(), QByteArray("It is not a regular file."));
}

void TestFontFile::readNeverCreatesMissingFile()
{
    QVERIFY(!readFileStart(path("missing.pf"), FontFileSize).error.isEmpty());
    QVERIFY(!QFile::exists(path("missing.pf")));
}

void TestFontFile::readWithoutPermission()
{
    if (!canRunAsNobody())
        QSKIP("needs root and setpriv to read as an unprivileged user");
    writeRaw(path("secret.pf"), pattern(2048));
    QFile::setPermissions(path("secret.pf"), QFile::ReadOwner | QFile::WriteOwner);
    const ChildResult child = runChild({QStringLiteral("--read"), path("secret.pf")}, true);
    QCOMPARE(child.exitCode, 1);
    QCOMPARE(child.output.trimmed(), QByteArray("Permission denied."));
}

void TestFontFile::writeReplacesWholeFile()
{
    writeRaw(path("font.pf"), pattern(5000));
    QFile::setPermissions(path("font.pf"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    const QByteArray bytes = pattern(2048).toBase64().left(2048);
    QCOMPARE(writeFileAtomically(path("font.pf"), bytes), QString());
    QCOMPARE(readRaw(path("font.pf")), bytes);
    // The file keeps its permissions, and no temporary file stays behind.
    QCOMPARE(QFile::permissions(path("font.pf")) & (QFile::ReadOther | QFile::WriteOther),
             QFile::ReadOther);
    QCOMPARE(folderEntries(m_dir->path()), QStringList {QStringLiteral("font.pf")});
}

void TestFontFile::writeIntoMissingFolderFails()
{
    const QString error = writeFileAtomically(path("no/such/folder.pf"), pattern(2048));
    QCOMPARE(error, QStringLiteral("No such file or directory."));
    QVERIFY(writeFileAtomically(m_dir->path(), pattern(2048)).size() > 0);
}

void TestFontFile::writeIntoReadOnlyFolderKeepsOldFile()
{
    if (!canRunAsNobody())
        QSKIP("needs root and setpriv to write as an unprivileged user");
    writeRaw(path("font.pf"), pattern(2048));
    QFile::setPermissions(path("font.pf"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther
                                               | QFile::WriteOther);
    // The folder is not writable for nobody, so no temporary file can be made beside the font.
    const ChildResult child
        = runChild({QStringLiteral("--write"), path("font.pf"), QStringLiteral("2048")}, true);
    QCOMPARE(child.exitCode, 1);
    QCOMPARE(child.output.trimmed(), QByteArray("Permission denied."));
    QCOMPARE(readRaw(path("font.pf")), pattern(2048));
}

void TestFontFile::writeFailingPartWayKeepsOldFile()
{
    writeRaw(path("font.pf"), pattern(2048));
    // A 1,000-byte file-size limit stops the write part way.
    const ChildResult child = runChild({QStringLiteral("--write"), path("font.pf"),
                                        QStringLiteral("2048"), QStringLiteral("1000")},
                                       false);
    QCOMPARE(child.exitCode, 1);
    QVERIFY2(child.output.contains("File too large"), child.output.constData());
    QCOMPARE(readRaw(path("font.pf")), pattern(2048));
    QCOMPARE(folderEntries(m_dir->path()), QStringList {QStringLiteral("font.pf")});
}

void TestFontFile::writeLeavesSpecialFilesAlone_data()
{
    addSpecialFileRows();
}

void TestFontFile::writeLeavesSpecialFilesAlone()
{
    QFETCH(QString, kind);
    MAKE_SPECIAL_FILE_OR_SKIP(kind, path("special.pf"));
    const QStringList before = folderSnapshot(m_dir->path());
    // In a child, so that a writer that opens the FIFO and blocks fails instead of hanging.
    const ChildResult child
        = runChild({QStringLiteral("--write"), path("special.pf"), QStringLiteral("2048")}, false);
    QCOMPARE(child.exitCode, 1);
    QCOMPARE(child.output.trimmed(), QByteArray("It is not a regular file."));
    QCOMPARE(folderSnapshot(m_dir->path()), before);
}

void TestFontFile::writeThroughLinkKeepsLink()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("fonts")));
    writeRaw(path("fonts/real.pf"), pattern(5000));
    QVERIFY(QFile::link(path("fonts/real.pf"), path("link.pf")));
    QCOMPARE(writeFileAtomically(path("link.pf"), pattern(2048)), QString());
    QCOMPARE(nodeKind(path("link.pf")), QStringLiteral("link to ") + path("fonts/real.pf"));
    QCOMPARE(readRaw(path("fonts/real.pf")), pattern(2048));
    QCOMPARE(folderEntries(m_dir->path()),
             QStringList({QStringLiteral("fonts"), QStringLiteral("link.pf")}));
    QCOMPARE(folderEntries(path("fonts")), QStringList {QStringLiteral("real.pf")});
}

void TestFontFile::newFileModeFollowsUmask_data()
{
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("mode");
    QTest::newRow("022") << 0022 << 0644;
    QTest::newRow("002") << 0002 << 0664;
    QTest::newRow("077") << 0077 << 0600;
    QTest::newRow("none") << 0 << 0666;
}

void TestFontFile::newFileModeFollowsUmask()
{
    QFETCH(int, mask);
    QFETCH(int, mode);
    const mode_t saved = ::umask(static_cast<mode_t>(mask));
    const QString error = writeFileAtomically(path("new.pf"), pattern(2048));
    ::umask(saved);
    QCOMPARE(error, QString());
    using FileStatus = struct stat;
    FileStatus info {};
    QCOMPARE(::stat(QFile::encodeName(path("new.pf")).constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 07777), mode);
    QCOMPARE(readRaw(path("new.pf")), pattern(2048));
}

void TestFontFile::replacedFileKeepsMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("0604") << 0604;
    QTest::newRow("0640") << 0640;
    QTest::newRow("0755") << 0755;
}

void TestFontFile::replacedFileKeepsMode()
{
    QFETCH(int, mode);
    const QByteArray name = QFile::encodeName(path("font.pf"));
    writeRaw(path("font.pf"), pattern(100));
    QCOMPARE(::chmod(name.constData(), static_cast<mode_t>(mode)), 0);
    QCOMPARE(writeFileAtomically(path("font.pf"), pattern(2048)), QString());
    using FileStatus = struct stat;
    FileStatus info {};
    QCOMPARE(::stat(name.constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 07777), mode);
    QCOMPARE(readRaw(path("font.pf")), pattern(2048));
}

void TestFontFile::longNamesAreReplaced_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("error");
    // 255 bytes is the longest name a Linux file system takes; a temporary name made by adding
    // to it would not fit.
    for (int length = 249; length <= 255; ++length)
        QTest::addRow("%d bytes", length) << length << QString();
    QTest::newRow("256 bytes") << 256 << "File name too long.";
}

void TestFontFile::longNamesAreReplaced()
{
    QFETCH(int, length);
    QFETCH(QString, error);
    const QString name = QString(length - 3, u'n') + QStringLiteral(".pf");
    const QString file = m_dir->filePath(name);
    if (error.isEmpty())
        writeRaw(file, pattern(5000));
    QCOMPARE(writeFileAtomically(file, pattern(2048)), error);
    const QStringList expected = error.isEmpty() ? QStringList {name} : QStringList();
    QCOMPARE(folderEntries(m_dir->path()), expected);
    if (error.isEmpty())
        QCOMPARE(readRaw(file), pattern(2048));
}

int main(int argc, char **argv)
{
    return testMainWithChild<TestFontFile>(argc, argv, childMain);
}

#include "tst_fontfile.moc"
