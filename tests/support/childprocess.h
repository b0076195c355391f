#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#ifndef Q_OS_WIN
#include <unistd.h>
#endif

// Runs this test binary again with arguments that its main() treats as a child's task, either
// as it is or as the unprivileged user "nobody" (for permission checks that root would pass).
// A child that hangs (a reader or writer that blocks on a FIFO) is killed by a watchdog, so the
// test fails with a clear output well before CTest's own timeout ends the whole binary.
struct ChildResult
{
    int exitCode = -1;
    QByteArray output;
};

// Milliseconds: far more than a child takes, far less than the 120 s CTest allows a test.
inline constexpr int ChildWatchdog = 20000;

// Waits for a program the test started, within the watchdog's time; one that hangs is killed.
[[nodiscard]] inline bool finishedInTime(QProcess &process)
{
    if (process.waitForFinished(ChildWatchdog))
        return true;
    process.kill();
    process.waitForFinished();
    return false;
}

// What a program the test started did: its exit status (-1 when it crashed or had to be killed),
// its standard output as bytes and its standard error as text.
struct ProgramRun
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

// Runs a program to its end within the watchdog's time: in a folder (the test's own when empty),
// with bytes on its standard input and an environment.
[[nodiscard]] inline ProgramRun runProgram(const QString &program, const QStringList &arguments,
                                           const QString &folder = {}, const QByteArray &input = {},
                                           const QProcessEnvironment &environment
                                           = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    const bool finished = finishedInTime(process);
    return {finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

inline bool canRunAsNobody()
{
#ifdef Q_OS_WIN
    return false;
#else
    return ::geteuid() == 0 && !QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty();
#endif
}

inline ChildResult runChild(const QStringList &arguments, bool asNobody)
{
    QProcess process;
    QString program = QCoreApplication::applicationFilePath();
    QStringList programArguments = arguments;
    // The build folder may be closed to other users (a clone in a private folder), so the
    // unprivileged child runs a copy of this binary from a folder open to everyone.
    QTemporaryDir open;
    if (asNobody) {
        const QString copy = open.filePath(QStringLiteral("child"));
        const auto everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                              | QFile::ReadOther | QFile::ExeOther;
        if (!QFile::copy(program, copy) || !QFile::setPermissions(open.path(), everyone)
            || !QFile::setPermissions(copy, everyone))
            return {};
        programArguments
            = QStringList {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                           QStringLiteral("--clear-groups"), copy}
              + arguments;
        program = QStringLiteral("setpriv");
    }
    process.start(program, programArguments);
    if (!finishedInTime(process))
        return {-1, QByteArrayLiteral("the child hung and was killed: ")
                        + arguments.join(u' ').toLocal8Bit()};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput() + process.readAllStandardError()};
}

// main() of a test binary that also serves as its own child: "--task ARGUMENTS" runs the task
// instead of the tests.
template<typename Test, typename Application = QCoreApplication>
int testMainWithChild(int argc, char **argv, int (*childMain)(int, char **))
{
    if (argc > 2 && std::strncmp(argv[1], "--", 2) == 0)
        return childMain(argc, argv);
    Application app(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}

#ifdef Q_OS_WIN
// Windows has no per-process file-size limit that would make a write fail part way.
#define LIMIT_FILE_SIZE_OR_SKIP(bytes) QSKIP("Windows has no file-size limit for a process")
#else
#include <csignal>
#include <sys/resource.h>

// Lowers this process's file-size limit while it lives, so that writes fail part way with
// "File too large" (the signal that would end the process is ignored meanwhile).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_saved {};
    void (*m_oldHandler)(int) = nullptr;
};

// Lowers the file-size limit until the end of the enclosing block.
#define LIMIT_FILE_SIZE_OR_SKIP(bytes) const FileSizeLimit fileSizeLimit(bytes)
#endif
