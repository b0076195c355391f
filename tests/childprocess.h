#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <unistd.h>

// Runs this test binary again with arguments that its main() treats as a child's task, either
// as it is or as the unprivileged user "nobody" (for permission checks that root would pass).
struct ChildResult
{
    int exitCode = -1;
    QByteArray output;
};

inline bool canRunAsNobody()
{
    return ::geteuid() == 0 && !QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty();
}

inline ChildResult runChild(const QStringList &arguments, bool asNobody)
{
    QProcess process;
    const QString self = QCoreApplication::applicationFilePath();
    if (asNobody) {
        process.start(QStringLiteral("setpriv"),
                      QStringList {QStringLiteral("--reuid=nobody"),
                                   QStringLiteral("--regid=nogroup"),
                                   QStringLiteral("--clear-groups"), self}
                          + arguments);
    } else {
        process.start(self, arguments);
    }
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput() + process.readAllStandardError()};
}

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
