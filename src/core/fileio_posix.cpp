#include "core/fileio.h"

#include "core/fileio_p.h"
#include "core/filename.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
using FileStatus = struct stat;
using SignalAction = struct sigaction;

// Linux follows at most 40 links while resolving one name; a longer chain is a loop.
constexpr int MaxLinks = 40;

// The temporary file of the write in progress, for the signal handler, which may neither
// allocate nor lock: the name sits in a fixed buffer (a name the kernel accepted is shorter than
// PATH_MAX) and the handler reads it only while the state says it is complete.
enum PendingState : int { NoPendingFile, NotingPendingFile, PendingFileNoted };
char pendingName[PATH_MAX] {};
std::atomic<int> pendingState {NoPendingFile};
static_assert(std::atomic<int>::is_always_lock_free);

// Only the first of several writes at the same time is noted; the others are not removed.
bool notePendingFile(const QByteArray &name)
{
    int expected = NoPendingFile;
    if (name.size() >= PATH_MAX
        || !pendingState.compare_exchange_strong(expected, NotingPendingFile))
        return false;
    std::memcpy(pendingName, name.constData(), static_cast<size_t>(name.size()) + 1);
    pendingState.store(PendingFileNoted);
    return true;
}

// Async-signal-safe: unlink, signal and raise only. Raised again with the default action, the
// signal ends the process as it would have without us, and the exit status says so.
void removePendingFileAndResignal(int number)
{
    if (pendingState.load() == PendingFileNoted)
        ::unlink(pendingName);
    ::signal(number, SIG_DFL);
    ::raise(number);
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error)) + QLatin1Char('.');
}

// Closes a descriptor and removes a temporary file unless told the file is kept; a signal that
// ends the process meanwhile removes it too.
class TemporaryFile final
{
public:
    explicit TemporaryFile(QByteArray name, int fd)
        : m_name(std::move(name))
        , m_fd(fd)
        , m_noted(notePendingFile(m_name))
    { }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_kept)
            ::unlink(m_name.constData());
        // Only now: a signal before this point finds the name gone at worst, never left behind.
        if (m_noted)
            pendingState.store(NoPendingFile);
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
    bool m_noted = false;
    bool m_kept = false;
};

mode_t newFileMode()
{
    // The mode a plain create would give: read and write for all, less the umask.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

QByteArray folderOf(const QByteArray &name)
{
    const qsizetype slash = name.lastIndexOf('/');
    return slash < 0 ? QByteArray() : name.left(slash + 1);
}

// The kernel's rule for following links in a folder such as /tmp (fs.protected_symlinks), kept
// here because the writer follows links itself: a link another user left there must not aim a
// write of ours, perhaps as root, at a file of their choosing.
bool mayFollow(const QByteArray &link, const FileStatus &linkStatus)
{
    if (linkStatus.st_uid == ::geteuid())
        return true;
    const QByteArray folderName = folderOf(link);
    FileStatus folder {};
    if (::stat(folderName.isEmpty() ? "." : folderName.constData(), &folder) != 0)
        return false;
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || linkStatus.st_uid == folder.st_uid;
}

// The file that writing to a name replaces or creates: the name itself, or the end of its chain
// of symbolic links, which need not exist yet. A relative link is read from the link's own
// folder; the name is joined, not cleaned, so that ".." after a linked folder means what it
// means to the kernel.
struct WriteTarget
{
    QByteArray name;
    FileStatus status {};
    bool exists = false;
    bool throughLink = false;
    QString error;

    // The reason for a failure at the file written, which names it when a link led there.
    QString failure(int code) const
    {
        return throughLink ? FileIO::linkLeadsTo(printableFileName(fileNameFromBytes(name)),
                                                 systemReason(code))
                           : systemReason(code);
    }
};

WriteTarget writeTarget(QByteArray name)
{
    WriteTarget target;
    for (int links = 0;; ++links) {
        target.name = name;
        if (::lstat(name.constData(), &target.status) != 0) {
            if (errno != ENOENT)
                target.error = target.failure(errno);
            return target;
        }
        if (!S_ISLNK(target.status.st_mode)) {
            target.exists = true;
            return target;
        }
        if (links == MaxLinks) {
            target.error = systemReason(ELOOP);
            return target;
        }
        if (!mayFollow(name, target.status)) {
            target.error = FileIO::linkNotFollowed();
            return target;
        }
        char text[PATH_MAX];
        const ssize_t length = ::readlink(name.constData(), text, sizeof text);
        if (length < 0 || length == sizeof text) {
            target.error = target.failure(length < 0 ? errno : ENAMETOOLONG);
            return target;
        }
        const QByteArray linked(text, length);
        name = linked.startsWith('/') ? linked : folderOf(name) + linked;
        target.throughLink = true;
    }
}

// A file replaced by rename is a new file, owned by whoever wrote it. Root may give it back to
// the old owner; any user may keep a group they belong to. Where neither is allowed it stays the
// writer's. Done before fchmod, as a change of owner clears the set-ID bits.
void keepOwner(int fd, const FileStatus &old)
{
    FileStatus now {};
    if (::fstat(fd, &now) != 0 || (now.st_uid == old.st_uid && now.st_gid == old.st_gid))
        return;
    if (::fchown(fd, old.st_uid, old.st_gid) != 0
        && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
        // Neither is allowed: the file keeps the writer's owner and group.
    }
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
    const WriteTarget target = writeTarget(fileNameBytes(path));
    if (!target.error.isEmpty())
        return target.error;
    if (target.exists && !S_ISREG(target.status.st_mode))
        return FileIO::notAFile(S_ISDIR(target.status.st_mode));

    // A short name of our own in the same folder, so that the rename is atomic and a target name
    // at the file system's length limit still leaves room for it.
    QByteArray pattern = folderOf(target.name) + ".glyphwright-XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        if (code != EACCES && code != EPERM && code != EROFS)
            return target.failure(code);
        QByteArray folder = folderOf(target.name);
        if (folder.isEmpty())
            folder = ".";
        else if (folder.size() > 1)
            folder.chop(1); // the slash
        return FileIO::folderRefuses(printableFileName(fileNameFromBytes(folder)),
                                     target.failure(code));
    }
    TemporaryFile temporary(pattern, fd);

    // A short write carries no reason; writing the rest again fails with the real one
    // (a full disk, a file-size limit).
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t count = ::write(temporary.fd(), bytes.constData() + written,
                                      static_cast<size_t>(bytes.size() - written));
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return target.failure(errno);
        }
        written += count;
    }
    if (target.exists)
        keepOwner(temporary.fd(), target.status);
    const mode_t mode = target.exists ? (target.status.st_mode & 07777) : newFileMode();
    if (::fchmod(temporary.fd(), mode) != 0 || ::fsync(temporary.fd()) != 0
        || temporary.close() != 0)
        return target.failure(errno);
    if (::rename(temporary.name().constData(), target.name.constData()) != 0)
        return target.failure(errno);
    temporary.keep();
    return {};
}

void removeTemporaryFilesOnSignals()
{
    constexpr int Signals[] = {SIGHUP, SIGINT, SIGTERM};
    SignalAction action {};
    action.sa_handler = removePendingFileAndResignal;
    // One handler at a time: the first signal decides how the process ends.
    sigemptyset(&action.sa_mask);
    for (const int number : Signals)
        sigaddset(&action.sa_mask, number);
    for (const int number : Signals) {
        SignalAction current {};
        // A signal the process was started with ignored (nohup, a background job) stays ignored.
        if (::sigaction(number, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            ::sigaction(number, &action, nullptr);
    }
}
