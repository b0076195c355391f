#include "core/asmexport.h"
#include "core/glyphtransform.h"
#include "core/fontimage.h"
#include "core/version.h"
#include "support/support.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString Cli = QStringLiteral(GLYPHWRIGHT_CLI);
const QString Editor = QStringLiteral(GLYPHWRIGHT_EDITOR);

#ifndef Q_OS_WIN
// The bit of a signal in the masks of /proc/PID/status.
constexpr quint64 bit(int signal)
{
    return quint64(1) << (signal - 1);
}

// A mask from /proc/PID/status, such as "SigCgt" (signals with a handler) or "SigIgn".
quint64 signalMask(qint64 pid, const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().toULongLong(nullptr, 16);
    }
    return 0;
}
#endif

using Run = ProgramRun;

// A command that blocks (on a FIFO, say) fails within the watchdog's time instead of hanging.
Run runCli(const QStringList &arguments, const QByteArray &input = {},
           const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
           const QString &program = Cli)
{
    return runProgram(program, arguments, {}, input, environment);
}
} // namespace

// The companion program run as a build would run it: bytes, exit statuses and messages.
class TestCliProgram final : public QObject, private TemporaryFolder
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void exportIsTheEditorsBytes_data();
    void exportIsTheEditorsBytes();
    void sameBytesInAnyLocale();
    void helpAndVersion();
    void usageErrors_data();
    void usageErrors();
    void namesAndDescriptors_data();
    void namesAndDescriptors();
    void badInputsLeaveNoFile_data();
    void badInputsLeaveNoFile();
    void failedWriteKeepsTheOldFile();
    void unreadableFont();
    void wrongSizeFontWarnsAndFailsTheCheck();
    void checkNamesTheDifferingCharacter();
    void checkAssembles();
    void assemblerFailuresAreExplained_data();
    void assemblerFailuresAreExplained();
    void checkEachTargetAndRange_data();
    void checkEachTargetAndRange();
    void assembleForTheProcessorsFamily();
    void transformInOrderAndInPlace();
    void textRoundTripsThroughPipes();
    void fontFromStandardInput();
    void exportThroughDanglingLink();
    void signalsEndBothProgramsAsTheyWould_data();
    void signalsEndBothProgramsAsTheyWould();

private:
    FontImage m_font {};
    QString m_fontPath;
};

void TestCliProgram::init()
{
    QVERIFY(renewFolder());
    m_font = randomFont(12);
    m_fontPath = path(QStringLiteral("big.pf"));
    writeRaw(m_fontPath, fontFileBytes(m_font));
}

void TestCliProgram::exportIsTheEditorsBytes_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("header");
    QTest::newRow("the file's name") << QStringList() << "big.pf";
    QTest::newRow("--name=") << QStringList {"--name="} << "";
    QTest::newRow("--name with a line break")
        << QStringList {"--name", "a\r\norg 0"} << "a\r\norg 0";
}

void TestCliProgram::exportIsTheEditorsBytes()
{
    QFETCH(QStringList, options);
    QFETCH(QString, header);
    const QByteArray expected = asmSource(m_font, header);
    const Run toStdout = runCli(QStringList {"export", m_fontPath} + options);
    QCOMPARE(toStdout.exitCode, 0);
    QCOMPARE(toStdout.err, QString());
    QCOMPARE(toStdout.out, expected);
    const QString out = path("font.asm");
    const Run toFile = runCli(QStringList {"export", m_fontPath, "-o", out} + options);
    QCOMPARE(toFile.exitCode, 0);
    QCOMPARE(toFile.out, QByteArray());
    QCOMPARE(readRaw(out), expected);
}

void TestCliProgram::sameBytesInAnyLocale()
{
    QByteArray first;
    for (const char *locale : {"C", "C.UTF-8", "de_DE.UTF-8", "tr_TR.UTF-8"}) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", locale);
        environment.insert("TZ", locale[0] == 'd' ? "Asia/Tokyo" : "UTC");
        const Run run = runCli({"export", m_fontPath}, {}, environment);
        const Run text = runCli({"text", m_fontPath}, {}, environment);
        QCOMPARE(run.exitCode, 0);
        if (first.isEmpty())
            first = run.out + text.out;
        QCOMPARE(run.out + text.out, first);
    }
}

void TestCliProgram::helpAndVersion()
{
    const Run program = runCli({"--help"});
    QCOMPARE(program.exitCode, 0);
    for (const char *command : {"export", "check", "text", "from-text"}) {
        QVERIFY(program.out.contains(QByteArray("  ") + command + ' '));
        const Run help = runCli({command, "--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY2(help.out.startsWith(QByteArray("Usage: glyphwright-cli ") + command + ' '),
                 help.out.constData());
    }
    // Every help fits 80 columns.
    for (const char *command :
         {"", "export", "check", "text", "from-text", "import", "convert", "render", "transform"}) {
        const Run help
            = runCli(*command ? QStringList {command, "--help"} : QStringList {"--help"});
        for (const QByteArray &line : help.out.split('\n'))
            QVERIFY2(line.size() < 80, line.constData());
    }
    const Run version = runCli({"--version"});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QByteArray("glyphwright-cli ") + Version::Text + '\n');
}

void TestCliProgram::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("no command") << QStringList() << "glyphwright-cli: no command given";
    QTest::newRow("unknown command")
        << QStringList {"convert-all"} << "unknown command 'convert-all'";
    QTest::newRow("unknown option") << QStringList {"export", "--fast", "x.pf"}
                                    << "glyphwright-cli: export: unknown option '--fast'";
    QTest::newRow("no font") << QStringList {"export"} << "export: too few arguments";
    QTest::newRow("from-text without -o")
        << QStringList {"from-text", "a.txt"} << "from-text: -o FONT.pf is required";
    QTest::newRow("two texts") << QStringList {"text", "a.pf", "b.pf"}
                               << "text: too many arguments (expects 1, got 2)";
    QTest::newRow("font and source both standard input")
        << QStringList {"check", "-", "-"} << "check: FONT.pf and SOURCE.asm cannot both be";
    QTest::newRow("empty output name")
        << QStringList {"export", "x.pf", "-o", ""} << "-o/--output needs a file name";
    QTest::newRow("a file name starting with '-'")
        << QStringList {"export", "-das.pf"} << "given after '--', or as './-das.pf'";
    QTest::newRow("reversed range") << QStringList {"export", "x.pf", "--codes", "127-32"}
                                    << "export: --codes '127-32': the range is reversed";
    QTest::newRow("code 256") << QStringList {"check", "x.pf", "x.asm", "--codes", "0-256"}
                              << "check: --codes '0-256': expects FIRST-LAST";
    QTest::newRow("--processor alone")
        << QStringList {"check", "x.pf", "x.asm", "--processor", "16f877a"}
        << "--processor applies with --assemble only";
    QTest::newRow("processor name with a line break")
        << QStringList {"check", "x.pf", "x.asm", "--assemble", "--processor", "18f452\n"}
        << "expects a processor name such as 16f877a";
    QTest::newRow("transform without operation")
        << QStringList {"transform", "x.pf", "-o", "y.pf"} << "no operation given";
    QTest::newRow("shift too far")
        << QStringList {"transform", "x.pf", "-o", "y.pf", "--shift", "up:8"}
        << "--shift 'up:8': expects up, down, left or right";
    // Options with a fixed set of values are refused with the set, whichever command takes them.
    QTest::newRow("unknown target") << QStringList {"export", "x.pf", "--target", "pic17"}
                                    << "export: --target 'pic17': expects pic18 or pic16";
    QTest::newRow("unknown ink") << QStringList {"import", "x.png", "-o", "y.pf", "--ink=grey"}
                                 << "import: --ink 'grey': expects dark or light";
    QTest::newRow("unknown mirror")
        << QStringList {"transform", "x.pf", "-o", "y.pf", "--flip", "diagonal"}
        << "--flip 'diagonal': expects horizontal or vertical";
    QTest::newRow("unknown turn") << QStringList {"transform", "x.pf", "-o", "y.pf", "--rotate=45"}
                                  << "--rotate '45': expects 90, 180 or 270";
    QTest::newRow("unknown format") << QStringList {"import", "x", "-o", "y.pf", "--from", "gif"}
                                    << "--from 'gif': expects psf, bdf, ttf, png, bmp, asm, text or raw";
    // Arguments say what they are.
    QTest::newRow("no source") << QStringList {"check", "x.pf"}
                               << "check: too few arguments (expects 2, got 1): SOURCE.asm is "
                                  "missing";
    QTest::newRow("empty font name")
        << QStringList {"render", "", "A", "-o", "x.png"} << "render: an empty text where FONT.pf";
    QTest::newRow("empty text to draw")
        << QStringList {"render", "x.pf", "", "-o", "x.png"} << "render: the text is empty";
    QTest::newRow("wider than PNG allows")
        << QStringList {"render", "x.pf", QString(20000, 'A'), "-o", "x.png", "--scale", "8"}
        << "PNG pictures are at most 1,000,000 pixels wide";
}

void TestCliProgram::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run run = runCli(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QCOMPARE(run.out, QByteArray());
}

void TestCliProgram::namesAndDescriptors_data()
{
    // Run by the shell in the test's folder, which holds big.pf; $CLI is the program.
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // on standard error; empty for none
    const QString bad = QStringLiteral("\"$(printf 'bad\\377.pf')\"");
    QTest::newRow("names that are not UTF-8")
        << "cp big.pf " + bad + " && \"$CLI\" export " + bad
               + " -o \"$(printf 'out\\377.asm')\" && test -f \"$(printf 'out\\377.asm')\""
        << 0 << "";
    const QString mark = QStringLiteral("\"$(printf 'a\\357\\273\\277b.pf')\"");
    QTest::newRow("names holding a byte order mark")
        << "cp big.pf " + mark + " && \"$CLI\" export " + mark
               + " -o \"$(printf 'out\\357\\273\\277.asm')\" && test -f \"$(printf "
                 "'out\\357\\273\\277.asm')\" && test ! -e out.asm"
        << 0 << "";
    // The source names the header by its bytes, and compiles.
    QTest::newRow("a C pair under a name that is not UTF-8")
        << "\"$CLI\" convert big.pf -o \"$(printf 'bad\\377.h')\" && cc -fsyntax-only -Wall "
           "-Werror \"$(printf 'bad\\377.c')\""
        << 0 << "";
    // GCC's default mode predefines linux and unix; main draws a warning.
    QTest::newRow("C pairs of fonts named as the compiler's own names")
        << "for n in linux unix main; do \"$CLI\" convert big.pf --name $n -o $n.h && cc "
           "-std=gnu11 -Wall -Werror -fsyntax-only $n.c && c++ -x c++ -Wall -Werror "
           "-fsyntax-only $n.c || exit 1; done"
        << 0 << "";
    QTest::newRow("such a name in a message") << "\"$CLI\" text \"$(printf 'gone\\377.pf')\"" << 1
                                              << "gone\\xFF.pf: cannot read: No such file";
    QTest::newRow("a name starting with '-' after --")
        << "cp big.pf ./-das.pf && \"$CLI\" export -o out.asm -- -das.pf && test -s out.asm" << 0
        << "";
    QTest::newRow("closed standard output")
        << "\"$CLI\" export big.pf >&-" << 1 << "standard output: cannot write: it is closed";
    QTest::newRow("closed standard input")
        << "\"$CLI\" text - <&- >/dev/null" << 1 << "standard input: cannot read: it is closed";
    QTest::newRow("help to a full disk")
        << "\"$CLI\" --help >/dev/full" << 1 << "cannot write: No space left on device";
    QTest::newRow("command help to a closed output")
        << "\"$CLI\" export --help >&-" << 1 << "standard output: cannot write: it is closed";
    QTest::newRow("version to a closed output")
        << "\"$CLI\" --version >&-" << 1 << "standard output: cannot write: it is closed";
}

void TestCliProgram::namesAndDescriptors()
{
#ifdef Q_OS_WIN
    QSKIP(
        "names as bytes and closed descriptors are POSIX matters; the scripts need a POSIX shell");
#else
    QFETCH(QString, script);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("CLI", Cli);
    const Run shell = runProgram("sh", {"-c", script}, path(), {}, environment);
    const QString err = shell.err;
    QCOMPARE(shell.exitCode, exitCode);
    if (message.isEmpty())
        QCOMPARE(err, QString());
    else
        QVERIFY2(err.contains(message), qPrintable(err));
    // Nothing is named with the replacement character where a byte was.
    for (const QString &name : folderEntries(path()))
        QVERIFY2(!name.contains(QChar(0xFFFD)) || name.startsWith("bad"), qPrintable(name));
    // Qt cannot remove what it cannot name.
    QCOMPARE(QProcess::execute("rm", {"-r", path()}), 0);
#endif
}

void TestCliProgram::badInputsLeaveNoFile_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QByteArray>("content"); // written to the input unless it is special
    QTest::addColumn<QString>("message");
    QTest::newRow("missing font") << "export"
                                  << "none.pf" << QByteArray()
                                  << "none.pf: cannot read: No such file";
    QTest::newRow("folder") << "export"
                            << "folder" << QByteArray() << "folder: cannot read: It is a folder";
    QTest::newRow("FIFO") << "text"
                          << "fifo" << QByteArray()
                          << "fifo: cannot read: It is not a regular file";
    QTest::newRow("device") << "export"
                            << "/dev/zero" << QByteArray()
                            << QDir::toNativeSeparators("/dev/zero")
                                   + ": cannot read: It is not a regular file";
    QTest::newRow("empty text") << "from-text"
                                << "empty.txt" << QByteArray("")
                                << "empty.txt: line 1: the text ends early";
    QTest::newRow("garbage text") << "from-text"
                                  << "junk.txt"
                                  << QByteArray("\x7f"
                                                "ELF\x02\x01\n")
                                  << "junk.txt: line 1: expected the heading";
    QTest::newRow("huge text") << "from-text"
                               << "huge.txt" << QByteArray(5 << 20, '\n')
                               << "huge.txt: more than 4,194,304 bytes";
    QTest::newRow("asm not ours") << "check"
                                  << "other.asm" << QByteArray("\tlist p=18f452\r\n")
                                  << "other.asm: line 1: not a character line";
    QTest::newRow("text with lines ending in CR alone")
        << "from-text"
        << "mac.txt" << QByteArray("; font\rChar: . / 0 / 0x00\r........ 0x00\r")
        << "mac.txt: line 1: the lines end in CR alone";
    QTest::newRow("asm missing") << "check"
                                 << "none.asm" << QByteArray() << "none.asm: cannot read";
}

void TestCliProgram::badInputsLeaveNoFile()
{
    QFETCH(QString, command);
    QFETCH(QString, input);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    const QString inputPath = input.startsWith('/') ? input : path(input);
    if (input == "folder")
        QVERIFY(QDir().mkdir(inputPath));
    else if (input == "fifo")
        MAKE_SPECIAL_FILE_OR_SKIP(input, inputPath);
    else if (!content.isNull())
        writeRaw(inputPath, content);
    const QStringList before = folderEntries(path());
    QStringList arguments {command, inputPath, "-o", path("out")};
    if (command == "check")
        arguments = QStringList {command, m_fontPath, inputPath};
    const Run run = runCli(arguments);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.startsWith("glyphwright-cli: ") && run.err.contains(message),
             qPrintable(run.err));
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(folderEntries(path()), before);
}

void TestCliProgram::failedWriteKeepsTheOldFile()
{
    const QString prlimit = QStandardPaths::findExecutable("prlimit");
    if (prlimit.isEmpty())
        QSKIP("needs prlimit (util-linux)");
    const QString out = path("font.asm");
    writeRaw(out, "old contents");
    const QStringList before = folderEntries(path());
    // A file-size limit stops root too: the write fails part way.
    const Run run = runCli({"--fsize=1000", Cli, "export", m_fontPath, "-o", out}, {},
                           QProcessEnvironment::systemEnvironment(), prlimit);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("font.asm: cannot write: File too large"), qPrintable(run.err));
    QCOMPARE(readRaw(out), QByteArray("old contents"));
    QCOMPARE(folderEntries(path()), before);

    // Writing over the input would lose the font (or the text) being read.
    for (const QStringList &command :
         {QStringList {"export"}, QStringList {"text"}, QStringList {"from-text"},
          QStringList {"convert", "--to", "psf"}, QStringList {"render", "AB"},
          QStringList {"import"}}) {
        const Run self = runCli(QStringList {command.first(), m_fontPath} + command.mid(1)
                                + QStringList {"-o", m_fontPath});
        QCOMPARE(self.exitCode, 1);
        QVERIFY2(self.err.contains("the output is the input file"), qPrintable(self.err));
        QCOMPARE(readRaw(m_fontPath), fontFileBytes(m_font));
    }

    // Standard output that fails says why.
    if (QFile::exists("/dev/full")) {
        QProcess full;
        full.setStandardOutputFile("/dev/full");
        full.start(Cli, {"export", m_fontPath});
        QVERIFY(finishedInTime(full));
        QCOMPARE(full.exitCode(), 1);
        const QString err = QString::fromUtf8(full.readAllStandardError());
        QVERIFY2(err.contains("standard output: cannot write: No space left on device"),
                 qPrintable(err));
    }

    const Run folder = runCli({"export", m_fontPath, "-o", path()});
    QCOMPARE(folder.exitCode, 1);
    QVERIFY2(folder.err.contains("cannot write: It is a folder"), qPrintable(folder.err));
}

void TestCliProgram::unreadableFont()
{
    if (!canRunAsNobody())
        QSKIP("needs root and setpriv to run as an unprivileged user");
    // A copy of the program in a folder open to everyone, which the unprivileged user can run.
    const QString copy = path("glyphwright-cli");
    QVERIFY(QFile::copy(Cli, copy));
    QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                            | QFile::ExeOther));
    QCOMPARE(::chmod(QFile::encodeName(path()).constData(), 0777), 0);
    QCOMPARE(::chmod(QFile::encodeName(m_fontPath).constData(), 0), 0);
    const QStringList before = folderEntries(path());
    const Run run = runCli({"--reuid=nobody", "--regid=nogroup", "--clear-groups", copy, "export",
                            m_fontPath, "-o", path("out.asm")},
                           {}, QProcessEnvironment::systemEnvironment(), "setpriv");
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("big.pf: cannot read: Permission denied"), qPrintable(run.err));
    QCOMPARE(folderEntries(path()), before);
}

void TestCliProgram::wrongSizeFontWarnsAndFailsTheCheck()
{
    const QByteArray shortFont = fontFileBytes(m_font).left(100);
    const QString shortPath = path("short.pf");
    writeRaw(shortPath, shortFont);
    const Run exported = runCli({"export", shortPath});
    QCOMPARE(exported.exitCode, 0);
    QCOMPARE(exported.out, asmSource(fontImageFromBytes(shortFont), "short.pf"));
    QVERIFY2(exported.err.startsWith("glyphwright-cli: warning: ")
                 && exported.err.contains("short.pf is 100 bytes, not 2,048"),
             qPrintable(exported.err));

    const QString source = path("short.asm");
    writeRaw(source, exported.out);
    const Run check = runCli({"check", shortPath, source});
    QCOMPARE(check.exitCode, 1);
    QVERIFY2(check.err.contains("is not 2,048 bytes: the check fails"), qPrintable(check.err));

    writeRaw(shortPath, fontFileBytes(m_font) + "tail");
    const Run longer = runCli({"check", shortPath, source});
    QCOMPARE(longer.exitCode, 1);
    QVERIFY2(longer.err.contains("short.pf is longer than 2,048 bytes"), qPrintable(longer.err));
}

void TestCliProgram::checkNamesTheDifferingCharacter()
{
    const QString source = path("big.asm");
    writeRaw(source, asmSource(m_font, "big.pf"));
    const Run agree = runCli({"check", m_fontPath, source});
    QCOMPARE(agree.exitCode, 0);
    QCOMPARE(agree.err + agree.out, QString());

    FontImage changed = m_font;
    changed[65 * 8 + 2] ^= 0x10; // row 2 of 'A', fourth pixel from the right
    writeRaw(source, asmSource(changed, "big.pf"));
    const Run differ = runCli({"check", m_fontPath, source});
    QCOMPARE(differ.exitCode, 1);
    QVERIFY2(differ.err.startsWith("glyphwright-cli: " + QDir::toNativeSeparators(source)
                                   + ": line 69: Char_065 ('A', 0x41) differs from "),
             qPrintable(differ.err));
    const QStringList rows = differ.err.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), 10);
    QVERIFY(rows[4].endsWith("  <"));
    QCOMPARE(rows.filter("<").size(), 1);
}

void TestCliProgram::checkAssembles()
{
    const QString source = path("big.asm");
    writeRaw(source, asmSource(m_font, "big.pf"));
    QProcessEnvironment noAssembler = QProcessEnvironment::systemEnvironment();
    noAssembler.insert("PATH", path());
    const Run missing = runCli({"check", m_fontPath, source, "--assemble"}, {}, noAssembler);
    QCOMPARE(missing.exitCode, 1);
    QVERIFY2(missing.err.contains("--assemble needs gpasm (package gputils)"),
             qPrintable(missing.err));

    if (QStandardPaths::findExecutable("gpasm").isEmpty())
        QSKIP("needs gpasm (Debian package gputils)");
    const Run assembled = runCli({"check", m_fontPath, source, "--assemble"});
    QCOMPARE(assembled.err, QString());
    QCOMPARE(assembled.exitCode, 0);
}

void TestCliProgram::assemblerFailuresAreExplained_data()
{
    QTest::addColumn<QByteArray>("assembler"); // a shell script in gpasm's place
    QTest::addColumn<QString>("message");
    QTest::newRow("no hex file, no error")
        << QByteArray("exit 0") << "gpasm ended without an error but wrote no hex file.";
    QTest::newRow("silent failure")
        << QByteArray("exit 3") << "gpasm ended with exit status 3 and said nothing.";
    QTest::newRow("ended by a signal")
        << QByteArray("kill -KILL $$") << "gpasm was ended by a signal and said nothing.";
    QTest::newRow("its own words")
        << QByteArray("echo 'Error: out of words'; exit 1") << "Error: out of words";
}

void TestCliProgram::assemblerFailuresAreExplained()
{
#ifdef Q_OS_WIN
    QSKIP("the stand-in assembler is a shell script");
#else
    QFETCH(QByteArray, assembler);
    QFETCH(QString, message);
    QVERIFY(QDir(path()).mkdir("bin"));
    writeRaw(path("bin/gpasm"), "#!/bin/sh\n" + assembler + "\n");
    QVERIFY(QFile::setPermissions(path("bin/gpasm"), QFile::ReadOwner | QFile::ExeOwner));
    writeRaw(path("big.asm"), asmSource(m_font, "big.pf"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH", path("bin") + ":/usr/bin:/bin");
    const Run run = runCli({"check", m_fontPath, path("big.asm"), "--assemble"}, {}, environment);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, "glyphwright-cli: gpasm cannot assemble for 18f452:\n" + message + "\n");
#endif
}

void TestCliProgram::checkEachTargetAndRange_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("codes");
    QTest::addColumn<int>("flipped"); // a code whose glyph differs in the font
    QTest::addColumn<QString>("syntax");
    for (const char *syntax : {"mpasm", "pic-as"}) {
        for (const char *target : {"pic18", "pic16"}) {
            QTest::addRow("%s %s all", syntax, target) << target << "0-255" << 0 << syntax;
            QTest::addRow("%s %s 32-127", syntax, target) << target << "0x20-127" << 127 << syntax;
            QTest::addRow("%s %s 255-255", syntax, target) << target << "255" << 255 << syntax;
        }
    }
}

// Each form as a build checks it: it agrees with its font, assembled too; a changed pixel is
// found; a table of the other family, or of another range, is refused.
void TestCliProgram::checkEachTargetAndRange()
{
    QFETCH(QString, target);
    QFETCH(QString, codes);
    QFETCH(int, flipped);
    QFETCH(QString, syntax);
    const QString source = path("font.asm");
    const QStringList form {"--target", target, "--codes", codes, "--syntax", syntax};
    QCOMPARE(runCli(QStringList {"export", m_fontPath, "-o", source} + form).exitCode, 0);
    // No assembler of pic-as's syntax runs here.
    const bool gpasm = syntax == "mpasm" && !QStandardPaths::findExecutable("gpasm").isEmpty();
    const Run agree = runCli(QStringList {"check", m_fontPath, source} + form
                             + QStringList {"--assemble"}.mid(gpasm ? 0 : 1));
    QCOMPARE(agree.err + agree.out, QString());
    FontImage changed = m_font;
    changed[flipped * 8 + 5] ^= 0x04;
    writeRaw(path("changed.pf"), fontFileBytes(changed));
    const QString other = target == "pic18" ? "pic16" : "pic18";
    const std::pair<QStringList, QString> failures[] = {
        {{path("changed.pf"), source, "--codes", codes}, charLabel(flipped) + " (0x"},
        {{m_fontPath, source, "--codes", codes, "--target", other}, "the table is for " + target},
        {{m_fontPath, source, "--codes", "1-255"}, "not the codes 1 to 255 expected"},
        {{m_fontPath, source, "--codes", codes, "--syntax", syntax == "mpasm" ? "pic-as" : "mpasm"},
         "the table is in " + syntax + " syntax"},
    };
    for (const auto &[arguments, message] : failures) {
        const Run run = runCli(QStringList {"check"} + arguments);
        QVERIFY2(run.exitCode == 1 && run.err.contains(message), qPrintable(run.err));
    }
}

void TestCliProgram::assembleForTheProcessorsFamily()
{
    if (QStandardPaths::findExecutable("gpasm").isEmpty())
        QSKIP("needs gpasm (Debian package gputils)");
    const QString pic16 = path("pic16.asm");
    QCOMPARE(runCli({"export", m_fontPath, "-o", pic16, "--target", "pic16"}).exitCode, 0);
    writeRaw(path("pic18.asm"), asmSource(m_font, "big.pf"));
    const std::tuple<QString, QString, int, QString> cases[] = {
        {pic16, "16f1847", 0, ""},
        {pic16, "16F57", 0, ""}, // a 12-bit core of 2,048 words
        {pic16, "16f505", 1, "the table takes 2,048 words of program memory, and it has 1,024"},
        {pic16, "18f4550", 2, "18f4550 is a PIC18; a pic16 table (dt lines) needs a 12- or 14-bit"},
        {path("pic18.asm"), "16f877a", 2, "16f877a is a 14-bit core; a pic18 table"},
        {pic16, "16f9999", 2, "--processor '16f9999': gpasm knows no such processor"},
    };
    for (const auto &[source, processor, exitCode, message] : cases) {
        const Run run
            = runCli({"check", m_fontPath, source, "--assemble", "--processor", processor});
        QVERIFY2(run.exitCode == exitCode && run.err.contains(message), qPrintable(run.err));
    }
}

void TestCliProgram::transformInOrderAndInPlace()
{
    const QStringList transform {"transform", m_fontPath, "-o", "-", "--codes", "65-90"};
    const Run run = runCli(transform + QStringList {"--rotate", "90", "--flip", "horizontal"});
    QCOMPARE(run.err, "glyphwright-cli: standard output: changed 26 of 26 glyphs (codes 65 to "
                      "90).\n");
    for (int code = 0; code < 256; ++code) {
        const CharBitMap glyph = glyphOf(m_font, code);
        QCOMPARE(glyphOf(fontImageFromBytes(run.out), code),
                 code >= 65 && code <= 90 ? mirroredLeftRight(turnedClockwise(glyph, 1)) : glyph);
    }
    // In the other order, a mirror image of the first.
    QVERIFY(runCli(transform + QStringList {"--flip", "horizontal", "--rotate", "90"}).out
            != run.out);
    // A move's count after its direction, and without one a single pixel.
    const Run moved = runCli(transform + QStringList {"--shift=right:3", "--roll", "up"});
    for (int code = 65; code <= 90; ++code)
        QCOMPARE(glyphOf(fontImageFromBytes(moved.out), code),
                 rolled(shifted(glyphOf(m_font, code), Direction::Right, 3), Direction::Up, 1));
    // The input itself only with --in-place, replaced whole.
    const Run refused = runCli({"transform", m_fontPath, "-o", m_fontPath, "--invert"});
    QVERIFY2(refused.exitCode == 1 && refused.err.contains("without --in-place"),
             qPrintable(refused.err));
    QCOMPARE(readRaw(m_fontPath), fontFileBytes(m_font));
    const QStringList before = folderEntries(path());
    QCOMPARE(
        runCli({"transform", m_fontPath, "--in-place", "--invert", "--invert", "--bold"}).exitCode,
        0);
    FontImage bold = m_font;
    transformFont(bold, {}, std::array {GlyphOperation {GlyphOperation::Kind::Bold}});
    QCOMPARE(readRaw(m_fontPath), fontFileBytes(bold));
    QCOMPARE(folderEntries(path()), before);
    // A ROM image that holds the font first is not cut to the font.
    const QByteArray rom = fontFileBytes(m_font) + QByteArray(30 * 1024, '\x5A');
    writeRaw(path("rom.bin"), rom);
    const Run cut = runCli({"transform", path("rom.bin"), "--in-place", "--invert"});
    QVERIFY2(cut.exitCode == 1
                 && cut.err.contains("longer than 2,048 bytes, and only the font would be written "
                                     "back; not replacing it"),
             qPrintable(cut.err));
    QCOMPARE(readRaw(path("rom.bin")), rom);
}

void TestCliProgram::textRoundTripsThroughPipes()
{
    const Run text = runCli({"text", m_fontPath});
    QCOMPARE(text.exitCode, 0);
    const Run back = runCli({"from-text", "-", "-o", "-"}, text.out);
    QCOMPARE(back.exitCode, 0);
    QCOMPARE(back.out, fontFileBytes(m_font));

    const QString out = path("back.pf");
    writeRaw(out, "old font");
    QByteArray edited = text.out;
    edited.replace("\nChar: A / 65 / 0x41\n", "\nChar: A / 65 / 0x41\n; comment\n\n");
    edited.replace(edited.indexOf("\nChar: B") - 13, 1, "x");
    const Run broken = runCli({"from-text", "-", "-o", out}, edited);
    QCOMPARE(broken.exitCode, 1);
    QVERIFY2(
        broken.err.startsWith("glyphwright-cli: standard input: line 664: row 7 of character 65"),
        qPrintable(broken.err));
    QCOMPARE(readRaw(out), QByteArray("old font"));
}

void TestCliProgram::fontFromStandardInput()
{
    const QByteArray bytes = fontFileBytes(m_font);
    // Read as a file is read; an export's header then names no file.
    const Run exported = runCli({"export", "-"}, bytes);
    QCOMPARE(exported.exitCode, 0);
    QCOMPARE(exported.err, QString());
    QCOMPARE(exported.out, asmSource(m_font, QString()));
    QCOMPARE(runCli({"text", "-"}, bytes).out, runCli({"text", m_fontPath}).out);
    const QByteArray psf = runCli({"convert", m_fontPath, "-o", "-", "--to", "psf"}).out;
    QCOMPARE(runCli({"convert", "-", "-o", "-", "--to", "psf"}, bytes).out, psf);
    QCOMPARE(runCli({"render", "-", "AB", "-o", "-"}, bytes).out,
             runCli({"render", m_fontPath, "AB", "-o", "-"}).out);
    const Run imported = runCli({"import", "-", "-o", "-"}, psf);
    QCOMPARE(imported.exitCode, 0);
    QCOMPARE(imported.out, bytes);
    QVERIFY2(imported.err.startsWith("glyphwright-cli: standard input: read PSF 1"),
             qPrintable(imported.err));

    const QString source = path("big.asm");
    writeRaw(source, asmSource(m_font, "big.pf"));
    QCOMPARE(runCli({"check", "-", source}, bytes).exitCode, 0);
    // The same size rules: a short font is read with a warning and fails the check.
    const Run shortFont = runCli({"check", "-", source}, bytes.left(100));
    QCOMPARE(shortFont.exitCode, 1);
    QVERIFY2(shortFont.err.contains("warning: standard input is 100 bytes, not 2,048"),
             qPrintable(shortFont.err));
}

void TestCliProgram::exportThroughDanglingLink()
{
#ifdef Q_OS_WIN
    QSKIP("symbolic links are a POSIX matter here");
#else
    // ln -s missing.asm out.asm: the link stays, and the file it names is written.
    QCOMPARE(::symlink("missing.asm", QFile::encodeName(path("out.asm")).constData()), 0);
    const Run run = runCli({"export", m_fontPath, "-o", path("out.asm")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QFile::symLinkTarget(path("out.asm")), path("missing.asm"));
    QCOMPARE(readRaw(path("missing.asm")), asmSource(m_font, "big.pf"));
    QCOMPARE(folderEntries(path()), QStringList({"big.pf", "missing.asm", "out.asm"}));
#endif
}

void TestCliProgram::signalsEndBothProgramsAsTheyWould_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    // It waits for its standard input, so it is still running when the signal comes.
    QTest::newRow("glyphwright-cli") << Cli << QStringList {"from-text", "-", "-o", "out.pf"};
    QTest::newRow("glyphwright") << Editor << QStringList();
}

// Removing a write's temporary file on a signal is the core writer's, tested there; here both
// programs install it, keep a signal they were started with ignored, and still end as killed.
void TestCliProgram::signalsEndBothProgramsAsTheyWould()
{
#ifdef Q_OS_WIN
    QSKIP("POSIX signals; the Windows writer handles console interrupts");
#else
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QProcess process;
    process.setWorkingDirectory(path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    // As nohup starts a program: SIGHUP ignored, the other two as usual.
    process.setChildProcessModifier([] {
        std::signal(SIGHUP, SIG_IGN);
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
    });
    process.start(program, arguments);
    QVERIFY(process.waitForStarted());
    const qint64 pid = process.processId();
    const quint64 all = bit(SIGHUP) | bit(SIGINT) | bit(SIGTERM);
    QTRY_COMPARE_WITH_TIMEOUT(signalMask(pid, "SigCgt") & all, bit(SIGINT) | bit(SIGTERM), 10000);
    QCOMPARE(signalMask(pid, "SigIgn") & all, bit(SIGHUP));
    QCOMPARE(::kill(pid_t(pid), SIGTERM), 0);
    QVERIFY(finishedInTime(process));
    QCOMPARE(process.exitStatus(), QProcess::CrashExit);
    QCOMPARE(folderEntries(path()), QStringList {"big.pf"});
#endif
}

QTEST_GUILESS_MAIN(TestCliProgram)
#include "tst_cliprogram.moc"
