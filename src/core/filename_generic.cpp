#include "core/filename.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

// Names are UTF-16 here and Qt keeps them whole.
QStringList commandLineArguments(int, char **)
{
    return QCoreApplication::arguments();
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
