#include "core/filename.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

// Names are UTF-16 here and Qt keeps them whole, once the application object exists; before it
// (the editor looking for --help) argv in the local code page tells the options apart.
QStringList commandLineArguments(int argc, char **argv)
{
    if (QCoreApplication::instance())
        return QCoreApplication::arguments();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

bool sameFile(const QString &first, const QString &second)
{
    const QString target = QFileInfo(first).canonicalFilePath();
    return !target.isEmpty()
           && target.compare(QFileInfo(second).canonicalFilePath(), Qt::CaseInsensitive) == 0;
}

bool nameExists(const QString &name)
{
    const QFileInfo info(name);
    return info.exists() || info.isSymLink();
}

bool removeName(const QString &name)
{
    return QFile::remove(name);
}
