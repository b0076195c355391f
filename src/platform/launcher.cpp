#include "platform/launcher.h"

#include <QProcess>
#include <QStandardPaths>

bool DesktopLauncher::startDetached(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

QString DesktopLauncher::findProgram(const QString &name)
{
    return QStandardPaths::findExecutable(name);
}
