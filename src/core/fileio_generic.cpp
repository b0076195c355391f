#include "core/fileio.h"

#include "core/fileio_p.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
// QSaveFile may answer "Unknown error" when the final flush or rename fails.
QString reasonOf(const QFileDevice &file)
{
    const QString reason = file.errorString();
    if (reason.isEmpty() || reason == QLatin1String("Unknown error"))
        return FileIO::tr("The file could not be written completely.");
    return reason;
}
} // namespace

ReadResult readFileStart(const QString &path, qsizetype maxBytes)
{
    if (path.contains(QChar(0)))
        return {{}, FileIO::nulInName()};
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return {{}, FileIO::notAFile(info.isDir())};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::ExistingOnly))
        return {{}, file.errorString()};
    return readOpenFile(file, maxBytes);
}

QString writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    if (path.contains(QChar(0)))
        return FileIO::nulInName();
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return FileIO::notAFile(info.isDir());
    QSaveFile file(path);
    // Unbuffered, so that a failing write reports its own reason instead of a later flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return reasonOf(file);
    for (qsizetype written = 0; written < bytes.size();) {
        const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0) {
            const QString reason = reasonOf(file);
            file.cancelWriting();
            return reason;
        }
        written += count;
    }
    if (!file.commit())
        return reasonOf(file);
    return {};
}

void removeTemporaryFilesOnSignals()
{
    // QSaveFile keeps its temporary name to itself, so there is nothing a handler could remove.
}
