#include "core/fileio.h"
#include "core/fontimage.h"
#include "support/support.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {
using FileStatus = struct stat;

// What the "links, owners and signals" rows write, as the child's "--write NAME 2048" does.
QByteArray newBytes()
{
    return QByteArray(2048, '\x5A');
}

volatile std::sig_atomic_t signalToRaise = 0;

void raiseSignalUnderTest(int)
{
    std::raise(signalToRaise);
}

// "--signal NAME SIGNAL": a process of its own writes newBytes() to NAME with the programs'
// signal handling installed and is ended by SIGNAL part way through the write; this prints how
// it ended. The moment is exact, not timed: under a 1,000-byte file-size limit the kernel sends
// SIGXFSZ from inside the write that crosses it, while the temporary file exists and before any
// rename, and the handler above turns that into the signal under test.
// With a SECOND name, it writes the pair NAME and SECOND, "new\n" and newBytes(), which the
// signal then ends while the second is written.
int writeUntilSignal(const char *name, int signal, const char *second)
{
    // Nothing of Qt runs yet in this process, so it forks safely.
    const pid_t writer = ::fork();
    if (writer == 0) {
        ::alarm(10); // a hang ends as SIGALRM, well inside the parent's watchdog
        removeTemporaryFilesOnSignals();
        signalToRaise = signal;
        std::signal(SIGXFSZ, raiseSignalUnderTest);
        rlimit limit {};
        limit.rlim_cur = limit.rlim_max = 1000;
        setrlimit(RLIMIT_FSIZE, &limit);
        const QString error
            = second ? writeFilesAtomically({QFile::decodeName(name), QFile::decodeName(second)},
                                            {QByteArrayLiteral("new\n"), newBytes()})
                           .error
                     : writeFileAtomically(QFile::decodeName(name), newBytes());
        std::printf("not killed: %s\n", error.isEmpty() ? "ok" : qPrintable(error));
        std::fflush(stdout);
        ::_exit(0);
    }
    int status = 0;
    if (writer < 0 || ::waitpid(writer, &status, 0) != writer)
        return 1;
    if (WIFSIGNALED(status))
        std::printf("killed by SIG%s\n", sigabbrev_np(WTERMSIG(status)));
    return 0;
}

// " (user:group)" of a name on disk, or nothing when it is this process's own.
QString ownerText(const FileStatus &info)
{
    if (info.st_uid == ::geteuid() && info.st_gid == ::getegid())
        return {};
    const passwd *user = ::getpwuid(info.st_uid);
    const group *userGroup = ::getgrgid(info.st_gid);
    return QStringLiteral(" (%1:%2)")
        .arg(QString::fromLocal8Bit(user ? user->pw_name : "?"),
             QString::fromLocal8Bit(userGroup ? userGroup->gr_name : "?"));
}

// Everything under the current folder, links not followed and hidden names (a writer's
// temporary files) included, sorted, one line each: "fonts/ 0755", "out.asm -> fonts/font.asm",
// "font.pf: new 0640 (nobody:nogroup)" (a file that does not hold newBytes() shows its text).
QStringList describeTree(const QString &prefix = {})
{
    QStringList lines;
    for (const QString &name : folderEntries(prefix.isEmpty() ? QStringLiteral(".") : prefix)) {
        const QString relative = prefix + name;
        FileStatus info {};
        ::lstat(QFile::encodeName(relative).constData(), &info);
        const QString mode
            = u' ' + QString::number(info.st_mode & 07777, 8).rightJustified(4, u'0');
        if (S_ISDIR(info.st_mode)) {
            lines << relative + u'/' + mode + ownerText(info) << describeTree(relative + u'/');
        } else if (S_ISLNK(info.st_mode)) {
            QByteArray target(PATH_MAX, '\0');
            const ssize_t length
                = ::readlink(QFile::encodeName(relative).constData(), target.data(), PATH_MAX);
            lines << relative + QStringLiteral(" -> ") + QFile::decodeName(target.left(length))
                         + ownerText(info);
        } else {
            const QByteArray bytes = readRaw(relative);
            const QString content = bytes == newBytes() ? QStringLiteral("new")
                                                        : QString::fromLatin1(bytes).trimmed();
            lines << relative + QStringLiteral(": ") + content + mode + ownerText(info);
        }
    }
    lines.sort();
    return lines;
}

// The child's tasks: "--read PATH" prints the error or "ok N"; "--write PATH SIZE [LIMIT]"
// writes SIZE bytes atomically under an optional file-size limit and prints the error or "ok";
// "--signal" is writeUntilSignal().
int childMain(int argc, char **argv)
{
    if (std::strcmp(argv[1], "--signal") == 0)
        return writeUntilSignal(argv[2], std::atoi(argv[3]), argc > 4 ? argv[4] : nullptr);
    const QString path = QString::fromLocal8Bit(argv[2]);
    if (std::strcmp(argv[1], "--write-on-input") == 0) {
        // Tells it is ready, and writes once a line comes, with the programs' signal handling.
        // A first write does whatever a first write does once (loading, seeding), so that the
        // open of the second one's temporary file is the first open after the line.
        removeTemporaryFilesOnSignals();
        if (!writeFileAtomically(path, QByteArrayLiteral("old\n")).isEmpty())
            return 1;
        std::printf("ready\n");
        std::fflush(stdout);
        char line[8];
        if (!std::fgets(line, sizeof line, stdin))
            return 1;
        const QString error = writeFileAtomically(path, newBytes());
        std::printf("%s\n", error.isEmpty() ? "ok" : qPrintable(error));
        return error.isEmpty() ? 0 : 1;
    }
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
    void linksOwnersAndSignals_data();
    void linksOwnersAndSignals();
    void signalWhileTheTemporaryFileIsCreated();
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
    // New files get 0644 whoever runs the tests.
    ::umask(022);
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // Names without a folder are in it, as in a build that writes "-o font.asm".
    QDir::setCurrent(m_dir->path());
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
    // The system would read "font" only, which is there.
    writeRaw(path("font"), pattern(100));
    const ReadResult nul = readFileStart(path("font") + QChar(0) + QStringLiteral(".pf"), 100);
    QCOMPARE(nul.error, QStringLiteral("The name holds a NUL byte, which no file name can."));
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
    // The folder is not writable for nobody, so no temporary file can be made beside the font,
    // which itself is writable: the reason names the folder.
    const ChildResult child
        = runChild({QStringLiteral("--write"), path("font.pf"), QStringLiteral("2048")}, true);
    QCOMPARE(child.exitCode, 1);
    QCOMPARE(child.output.trimmed(),
             "Permission denied. The folder \"" + QFile::encodeName(m_dir->path())
                 + "\" does not let new files be made in it, and the file is replaced by writing "
                   "a new one beside it.");
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

void TestFontFile::linksOwnersAndSignals_data()
{
    // Each row: a reproducer (shell commands run in the test's folder), the name written, who
    // writes it, what the writer says, and the whole folder after: a temporary file left
    // anywhere shows as a line of its own.
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("name");
    // "" this process, "child" another, "nobody" another as nobody, or the signal that ends it
    QTest::addColumn<QString>("writer");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QStringList>("after");
    const auto row = [](const char *name, const char *setup, const char *written,
                        const char *writer, const char *outcome, const QStringList &after) {
        QTest::newRow(name) << QString::fromUtf8(setup) << QString::fromUtf8(written)
                            << QString::fromUtf8(writer) << QString::fromUtf8(outcome) << after;
    };
    row("dangling link: the file it names is created", "ln -s missing.asm out.asm", "out.asm", "",
        "ok", {"missing.asm: new 0644", "out.asm -> missing.asm"});
    row("dangling link into a missing folder", "ln -s gone/font.asm out.asm", "out.asm", "",
        "It is a link to gone/font.asm: No such file or directory.", {"out.asm -> gone/font.asm"});
    row("relative target: from the link's folder, not the current one",
        "mkdir fonts links; ln -s ../fonts/font.asm links/out.asm", "links/out.asm", "", "ok",
        {"fonts/ 0755", "fonts/font.asm: new 0644", "links/ 0755",
         "links/out.asm -> ../fonts/font.asm"});
    row("absolute target", "mkdir fonts; ln -s \"$PWD/fonts/font.asm\" out.asm", "out.asm", "",
        "ok", {"fonts/ 0755", "fonts/font.asm: new 0644", "out.asm -> $PWD/fonts/font.asm"});
    row("chain of links, each read from its own folder",
        "mkdir links; ln -s links/b.asm a.asm; ln -s c.asm links/b.asm", "a.asm", "", "ok",
        {"a.asm -> links/b.asm", "links/ 0755", "links/b.asm -> c.asm", "links/c.asm: new 0644"});
    // sub/fonts/.. is the parent of the real folder (this one), not sub.
    row("link in a linked folder: .. as the kernel reads it",
        "mkdir fonts sub; ln -s ../font.asm fonts/out.asm; ln -s ../fonts sub/fonts",
        "sub/fonts/out.asm", "", "ok",
        {"font.asm: new 0644", "fonts/ 0755", "fonts/out.asm -> ../font.asm", "sub/ 0755",
         "sub/fonts -> ../fonts"});
    row("link loop", "ln -s b.asm a.asm; ln -s a.asm b.asm", "a.asm", "",
        "Too many levels of symbolic links.", {"a.asm -> b.asm", "b.asm -> a.asm"});
    row("link to a folder", "mkdir fonts; ln -s fonts out.asm", "out.asm", "",
        "It is a folder, not a file.", {"fonts/ 0755", "out.asm -> fonts"});
    row("own link in a folder open to everyone",
        "echo old > font.asm; mkdir -m 1777 tmp; ln -s ../font.asm tmp/out.asm", "tmp/out.asm", "",
        "ok", {"font.asm: new 0644", "tmp/ 1777", "tmp/out.asm -> ../font.asm"});
    // The kernel does not follow it either (fs.protected_symlinks): it could aim root anywhere.
    row("another user's link in a folder open to everyone",
        "echo old > font.asm; mkdir -m 1777 tmp; ln -s ../font.asm tmp/out.asm;"
        "chown -h nobody:nogroup tmp/out.asm",
        "tmp/out.asm", "",
        "It is another user's link in a folder open to everyone; it is not followed.",
        {"font.asm: old 0644", "tmp/ 1777", "tmp/out.asm -> ../font.asm (nobody:nogroup)"});

    row("owner and group kept",
        "echo old > font.pf; chown nobody:nogroup font.pf; chmod 640 font.pf", "font.pf", "", "ok",
        {"font.pf: new 0640 (nobody:nogroup)"});
    row("set-group-ID bit kept with the owner",
        "echo old > tool; chown nobody:nogroup tool; chmod 2755 tool", "tool", "", "ok",
        {"tool: new 2755 (nobody:nogroup)"});
    row("owner of a link's target kept",
        "echo old > real.pf; chown nobody:nogroup real.pf; chmod 600 real.pf; ln -s real.pf "
        "font.pf",
        "font.pf", "", "ok", {"font.pf -> real.pf", "real.pf: new 0600 (nobody:nogroup)"});
    row("a writer who may not give the file away owns it",
        "mkdir -m 777 shared; echo old > shared/font.pf; chmod 666 shared/font.pf",
        "shared/font.pf", "nobody", "ok",
        {"shared/ 0777", "shared/font.pf: new 0666 (nobody:nogroup)"});

    row("/proc makes no new file beside one of its own", "", "/proc/version", "",
        "No such file or directory. The folder \"/proc\" does not let new files be made in it, "
        "and the file is replaced by writing a new one beside it.",
        {});
    // The link of the child's standard output, the pipe the test reads, reads as "pipe:[N]".
    row("link of /proc to a pipe", "", "/proc/self/fd/1", "child", "It is not a regular file.", {});
    row("a name holding a NUL", "echo old > font", "font<NUL>.pf", "",
        "The name holds a NUL byte, which no file name can.", {"font: old 0644"});

    // Pairs, "new\n" and then newBytes(), which both show as "new".
    row("pair through links to files not there yet",
        "mkdir fonts; ln -s fonts/font.h out.h; ln -s fonts/font.c out.c", "out.h out.c", "", "ok",
        {"fonts/ 0755", "fonts/font.c: new 0644", "fonts/font.h: new 0644", "out.c -> fonts/font.c",
         "out.h -> fonts/font.h"});
    row("pair whose second file cannot be made", "echo old > font.h; ln -s gone/font.c font.c",
        "font.h font.c", "", "file 2: It is a link to gone/font.c: No such file or directory.",
        {"font.c -> gone/font.c", "font.h: old 0644"});
    row("SIGTERM while writing the second file of a pair", "echo old > font.h; echo old > font.c",
        "font.h font.c", "SIGTERM", "killed by SIGTERM", {"font.c: old 0644", "font.h: old 0644"});
    row("SIGINT while writing a new pair through links", "ln -s real.h font.h", "font.h font.c",
        "SIGINT", "killed by SIGINT", {"font.h -> real.h"});

    row("SIGTERM while replacing a file", "echo old > font.pf", "font.pf", "SIGTERM",
        "killed by SIGTERM", {"font.pf: old 0644"});
    row("SIGINT while creating a file", "", "font.pf", "SIGINT", "killed by SIGINT", {});
    row("SIGHUP while writing through a link into another folder",
        "mkdir fonts; ln -s fonts/font.asm out.asm", "out.asm", "SIGHUP", "killed by SIGHUP",
        {"fonts/ 0755", "out.asm -> fonts/font.asm"});
}

void TestFontFile::linksOwnersAndSignals()
{
    QFETCH(QString, setup);
    QFETCH(QString, name);
    QFETCH(QString, writer);
    QFETCH(QString, outcome);
    QFETCH(QStringList, after);
    const bool asNobody = writer == QLatin1String("nobody");
    if ((setup.contains(QLatin1String("chown")) && ::geteuid() != 0)
        || (asNobody && !canRunAsNobody()))
        QSKIP("needs root (and setpriv) to give files away or to write as another user");
    QCOMPARE(std::system(("set -e; " + setup).toLocal8Bit().constData()), 0);

    name.replace(QStringLiteral("<NUL>"), QChar(0));
    const QStringList pair = name.split(u' ');
    QString result;
    if (writer.isEmpty() && pair.size() == 2) {
        const FilesWritten written
            = writeFilesAtomically(pair, {QByteArrayLiteral("new\n"), newBytes()});
        if (written.failed >= 0)
            result = QStringLiteral("file %1: %2").arg(written.failed + 1).arg(written.error);
    } else if (writer.isEmpty()) {
        result = writeFileAtomically(name, newBytes());
    } else {
        const int signal = writer == QLatin1String("SIGHUP")   ? SIGHUP
                           : writer == QLatin1String("SIGINT") ? SIGINT
                                                               : SIGTERM;
        const QStringList task
            = writer.startsWith(QLatin1String("SIG"))
                  ? QStringList {"--signal", pair.first(), QString::number(signal)} + pair.mid(1)
                  : QStringList {"--write", name, "2048"};
        result = QString::fromLocal8Bit(runChild(task, asNobody).output.trimmed());
    }
    QCOMPARE(result.isEmpty() ? QStringLiteral("ok") : result, outcome);
    after.replaceInStrings(QStringLiteral("$PWD"), m_dir->path());
    after.sort();
    QCOMPARE(describeTree(), after);
}

// The moment between the system creating the temporary file and the writer learning its name:
// strace holds the writer there, on its way back from the open, until the signal comes.
void TestFontFile::signalWhileTheTemporaryFileIsCreated()
{
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    if (strace.isEmpty())
        QSKIP("needs strace to hold the writer inside the open");
    QProcess writer;
    writer.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--write-on-input"), path("font.pf")});
    QVERIFY(writer.waitForReadyRead(ChildWatchdog));
    QCOMPARE(writer.readLine(), QByteArray("ready\n"));
    QProcess tracer;
    tracer.start(strace,
                 {QStringLiteral("-p"), QString::number(writer.processId()), QStringLiteral("-o"),
                  QStringLiteral("/dev/null"), QStringLiteral("-e"), QStringLiteral("trace=openat"),
                  QStringLiteral("-e"), QStringLiteral("inject=openat:delay_exit=30000000")});
    QVERIFY(tracer.waitForStarted());
    // strace says on standard error once it is attached.
    tracer.setReadChannel(QProcess::StandardError);
    QTRY_VERIFY_WITH_TIMEOUT(tracer.state() != QProcess::Running
                                 || tracer.peek(4096).contains("attached"),
                             ChildWatchdog);
    if (tracer.state() != QProcess::Running) {
        writer.kill();
        QVERIFY(finishedInTime(writer));
        QSKIP(qPrintable(QStringLiteral("strace cannot attach here: ")
                         + QString::fromLocal8Bit(tracer.readAllStandardError().trimmed())));
    }
    writer.write("go\n");
    QTRY_VERIFY_WITH_TIMEOUT(folderEntries(m_dir->path()).size() == 2, ChildWatchdog);
    QVERIFY(folderEntries(m_dir->path()).constFirst().startsWith(QLatin1String(".glyphwright-")));
    QCOMPARE(::kill(pid_t(writer.processId()), SIGTERM), 0);
    // Ended, strace lets the writer go at once, and the signal reaches it.
    tracer.terminate();
    QVERIFY(finishedInTime(tracer));
    QVERIFY(finishedInTime(writer));
    QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
    QCOMPARE(describeTree(), QStringList {QStringLiteral("font.pf: old 0644")});
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
