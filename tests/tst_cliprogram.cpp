#include "core/asmexport.h"
#include "core/fontimage.h"
#include "core/version.h"
#include "support.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString Cli = QStringLiteral(GLYPHWRIGHT_CLI);

struct Run
{
    int exitCode = -1; // -1 when it crashed or had to be stopped
    QByteArray out;
    QString err;
};

Run runCli(const QStringList &arguments, const QByteArray &input = {},
           const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
           const QString &program = Cli)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000)) {
        process.kill(); // a command that blocks (on a FIFO, say) fails here instead of hanging
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}
} // namespace

// The companion program run as a build would run it: bytes, exit statuses and messages.
class TestCliProgram final : public QObject
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
    void badInputsLeaveNoFile_data();
    void badInputsLeaveNoFile();
    void failedWriteKeepsTheOldFile();
    void unreadableFont();
    void wrongSizeFontWarnsAndFailsTheCheck();
    void checkNamesTheDifferingCharacter();
    void checkAssembles();
    void textRoundTripsThroughPipes();
    void fontFromStandardInput();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    FontImage m_font {};
    QString m_fontPath;

    QString path(const QString &name) const { return m_dir->filePath(name); }
};

void TestCliProgram::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
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
                                    << "glyphwright-cli: export: Unknown option 'fast'";
    QTest::newRow("no font") << QStringList {"export"} << "export: too few arguments";
    QTest::newRow("from-text without -o")
        << QStringList {"from-text", "a.txt"} << "from-text: -o FONT.pf is required";
    QTest::newRow("two texts") << QStringList {"text", "a.pf", "b.pf"}
                               << "text: too many arguments (expects 1, got 2)";
    QTest::newRow("font and source both standard input")
        << QStringList {"check", "-", "-"} << "check: FONT.pf and SOURCE.asm cannot both be";
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
    const QStringList before = folderEntries(m_dir->path());
    QStringList arguments {command, inputPath, "-o", path("out")};
    if (command == "check")
        arguments = QStringList {command, m_fontPath, inputPath};
    const Run run = runCli(arguments);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.startsWith("glyphwright-cli: ") && run.err.contains(message),
             qPrintable(run.err));
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(folderEntries(m_dir->path()), before);
}

void TestCliProgram::failedWriteKeepsTheOldFile()
{
    const QString prlimit = QStandardPaths::findExecutable("prlimit");
    if (prlimit.isEmpty())
        QSKIP("needs prlimit (util-linux)");
    const QString out = path("font.asm");
    writeRaw(out, "old contents");
    const QStringList before = folderEntries(m_dir->path());
    // A file-size limit stops root too: the write fails part way.
    const Run run = runCli({"--fsize=1000", Cli, "export", m_fontPath, "-o", out}, {},
                           QProcessEnvironment::systemEnvironment(), prlimit);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("font.asm: cannot write: File too large"), qPrintable(run.err));
    QCOMPARE(readRaw(out), QByteArray("old contents"));
    QCOMPARE(folderEntries(m_dir->path()), before);

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
        QVERIFY(full.waitForFinished(30000));
        QCOMPARE(full.exitCode(), 1);
        const QString err = QString::fromUtf8(full.readAllStandardError());
        QVERIFY2(err.contains("standard output: cannot write: No space left on device"),
                 qPrintable(err));
    }

    const Run folder = runCli({"export", m_fontPath, "-o", m_dir->path()});
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
    QCOMPARE(::chmod(QFile::encodeName(m_dir->path()).constData(), 0777), 0);
    QCOMPARE(::chmod(QFile::encodeName(m_fontPath).constData(), 0), 0);
    const QStringList before = folderEntries(m_dir->path());
    const Run run = runCli({"--reuid=nobody", "--regid=nogroup", "--clear-groups", copy, "export",
                            m_fontPath, "-o", path("out.asm")},
                           {}, QProcessEnvironment::systemEnvironment(), "setpriv");
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("big.pf: cannot read: Permission denied"), qPrintable(run.err));
    QCOMPARE(folderEntries(m_dir->path()), before);
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
    noAssembler.insert("PATH", m_dir->path());
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

QTEST_GUILESS_MAIN(TestCliProgram)
#include "tst_cliprogram.moc"
