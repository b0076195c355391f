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
                      QStringList{QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                                  QStringLiteral("--clear-groups"), self}
                          + arguments);
    } else {
        process.start(self, arguments);
    }
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput() + process.readAllStandardError()};
}
