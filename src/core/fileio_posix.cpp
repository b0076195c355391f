#include "core/fileio.h"

#include "core/fileio_p.h"
#include "core/filename.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
using FileStatus = struct stat;

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error)) + QLatin1Char('.');
}

// Closes a descriptor and removes a temporary file unless told the file is kept.
class TemporaryFile final
{
public:
    explicit TemporaryFile(QByteArray name, int fd)
        : m_name(std::move(name))
        , m_fd(fd)
    { }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_kept)
            ::unlink(m_name.constData());
    }
    int fd() const { return m_fd; }
    const QByteArray &name() const { return m_name; }
    // Closing can report a write-back failure of its own.
    int close()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }
    void keep() { m_kept = true; }

private:
    QByteArray m_name;
    int m_fd = -1;
    bool m_kept = false;
};

mode_t newFileMode()
{
    // The mode a plain create would give: read and write for all, less the umask.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}
} // namespace

ReadResult readFileStart(const QString &path, qsizetype maxBytes)
{
    // Opening a FIFO for reading blocks until a writer appears; O_NONBLOCK returns at once and
    // fstat then tells what the name really is.
    const int fd = ::open(fileNameBytes(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {{}, systemReason(errno)};
    FileStatus info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const bool folder = S_ISDIR(info.st_mode);
        ::close(fd);
        return {{}, FileIO::notAFile(folder)};
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {{}, file.errorString()};
    }
    return readOpenFile(file, maxBytes);
}

QString writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QByteArray target = fileNameBytes(path);
    FileStatus existing {};
    const bool exists = ::stat(target.constData(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode))
        return FileIO::notAFile(S_ISDIR(existing.st_mode));
    if (!exists && errno != ENOENT)
        return systemReason(errno);
    // A link to a file is kept as a link: the file it points to is the one replaced.
    FileStatus link {};
    if (exists && ::lstat(target.constData(), &link) == 0 && S_ISLNK(link.st_mode))
        target = QFile::encodeName(QFileInfo(path).canonicalFilePath());

    // A short name of our own in the same folder, so that the rename is atomic and a target name
    // at the file system's length limit still leaves room for it.
    const qsizetype slash = target.lastIndexOf('/');
    QByteArray pattern = slash < 0 ? QByteArray() : target.left(slash + 1);
    pattern.append(".glyphwright-XXXXXX");
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return systemReason(errno);
    TemporaryFile temporary(pattern, fd);

    // A short write carries no reason; writing the rest again fails with the real one
    // (a full disk, a file-size limit).
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t count = ::write(temporary.fd(), bytes.constData() + written,
                                      static_cast<size_t>(bytes.size() - written));
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return systemReason(errno);
        }
        written += count;
    }
    const mode_t mode = exists ? (existing.st_mode & 07777) : newFileMode();
    if (::fchmod(temporary.fd(), mode) != 0 || ::fsync(temporary.fd()) != 0
        || temporary.close() != 0)
        return systemReason(errno);
    if (::rename(temporary.name().constData(), target.constData()) != 0)
        return systemReason(errno);
    temporary.keep();
    return {};
}
