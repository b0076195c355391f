#include "fileio.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("FileIO", text);
}

QString notAFile(bool folder)
{
    return folder ? tr("It is a folder, not a file.") : tr("It is not a regular file.");
}

// QSaveFile may answer "Unknown error" when the final flush or rename fails.
QString reasonOf(const QFileDevice &file)
{
    const QString reason = file.errorString();
    if (reason.isEmpty() || reason == QLatin1String("Unknown error"))
        return tr("The data could not be written completely; the disk may be full.");
    return reason;
}
} // namespace

ReadResult readFileStart(const QString &path, qsizetype maxBytes)
{
    QFile file;
#ifdef Q_OS_UNIX
    // Opening a FIFO for reading blocks until a writer appears; O_NONBLOCK returns at once and
    // fstat then tells what the name really is.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {{}, QString::fromLocal8Bit(std::strerror(errno)) + QLatin1Char('.')};
    using FileStatus = struct stat;
    FileStatus info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const bool folder = S_ISDIR(info.st_mode);
        ::close(fd);
        return {{}, notAFile(folder)};
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {{}, file.errorString()};
    }
#else
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return {{}, notAFile(info.isDir())};
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::ExistingOnly))
        return {{}, file.errorString()};
#endif
    ReadResult result;
    result.bytes = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        return {{}, file.errorString()};
    return result;
}

QString writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Unbuffered, so that a failing write reports its own reason instead of a later flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return reasonOf(file);
    // A short write carries no reason; writing the rest again fails with the real one
    // (a full disk, a file-size limit).
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
