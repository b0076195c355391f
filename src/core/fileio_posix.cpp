#include "core/fileio.h"

#include "core/fileio_p.h"
#include "core/filename.h"

#include <QFile>
#include <QRandomGenerator>

#include <atomic>
#include <memory>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <utility>
#include <vector>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
using FileStatus = struct stat;
using SignalAction = struct sigaction;

// Linux follows at most 40 links while resolving one name; a longer chain is a loop.
constexpr int MaxLinks = 40;
// The most of an old file copied to put back where it cannot be kept by a second link; nothing
// the programs write comes near it.
constexpr qsizetype MaxKeptSize = 64 * 1024 * 1024;

// The temporary files of the writes in progress, for the signal handler, which may neither
// allocate nor lock: each name sits in a fixed buffer (a name the kernel accepted is shorter
// than PATH_MAX) and the handler reads it only while its state says it is complete. A set of
// files (a C header and its source) holds one for each of them and for what it may put back.
enum PendingState : int { NoPendingFile, NotingPendingFile, PendingFileNoted };
constexpr int MaxPendingFiles = 8;
struct PendingFile
{
    std::atomic<int> state {NoPendingFile};
    char name[PATH_MAX] {};
};
PendingFile pendingFiles[MaxPendingFiles];
static_assert(std::atomic<int>::is_always_lock_free);

// The slot noted, or -1 when every slot is taken: more writes at the same time than that are not
// removed on a signal.
int notePendingFile(const QByteArray &name)
{
    if (name.size() >= PATH_MAX)
        return -1;
    for (int slot = 0; slot < MaxPendingFiles; ++slot) {
        int expected = NoPendingFile;
        if (!pendingFiles[slot].state.compare_exchange_strong(expected, NotingPendingFile))
            continue;
        std::memcpy(pendingFiles[slot].name, name.constData(),
                    static_cast<size_t>(name.size()) + 1);
        pendingFiles[slot].state.store(PendingFileNoted);
        return slot;
    }
    return -1;
}

void forgetPendingFile(int slot)
{
    if (slot >= 0)
        pendingFiles[slot].state.store(NoPendingFile);
}

// Async-signal-safe: unlink, signal and raise only. Raised again with the default action, the
// signal ends the process as it would have without us, and the exit status says so.
void removePendingFileAndResignal(int number)
{
    for (PendingFile &pending : pendingFiles) {
        if (pending.state.load() == PendingFileNoted)
            ::unlink(pending.name);
    }
    ::signal(number, SIG_DFL);
    ::raise(number);
}

constexpr int HandledSignals[] = {SIGHUP, SIGINT, SIGTERM};

// Holds the handled signals back while a set of files is renamed into place, so that a signal
// ends the process before the first rename or after the last, never between them.
class SignalsHeld final
{
public:
    SignalsHeld()
    {
        sigset_t held;
        sigemptyset(&held);
        for (const int number : HandledSignals)
            sigaddset(&held, number);
        ::pthread_sigmask(SIG_BLOCK, &held, &m_before);
    }
    SignalsHeld(const SignalsHeld &) = delete;
    SignalsHeld &operator=(const SignalsHeld &) = delete;
    ~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &m_before, nullptr); }

private:
    sigset_t m_before {};
};

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error)) + QLatin1Char('.');
}

// A new file of ours, open for writing, removed again unless told it is kept; a signal that
// ends the process meanwhile removes it too.
class TemporaryFile final
{
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_name.isEmpty() && !m_kept)
            ::unlink(m_name.constData());
        // Only now: a signal before this point finds the name gone at worst, never left behind.
        forgetPendingFile(m_slot);
    }

    // Creates the file in the folder (empty for the current one) under a new name. The errno of
    // the failure, or 0.
    int create(const QByteArray &folder)
    {
        return make(folder, [this](const char *name) {
            m_fd = ::open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            return m_fd >= 0;
        });
    }
    // A second name for an existing file, in the folder.
    int link(const QByteArray &folder, const QByteArray &existing)
    {
        return make(folder, [&existing](const char *name) {
            return ::link(existing.constData(), name) == 0;
        });
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
    // The file now goes by another name (renamed into place), or is to stay.
    void keep()
    {
        m_kept = true;
        forgetPendingFile(m_slot);
        m_slot = -1;
    }

private:
    // The name is noted for the signal handler before the file exists, so that no moment
    // leaves it behind.
    template<typename Make> int make(const QByteArray &folder, Make makeFile)
    {
        constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            // A short name, so that a target name at the file system's length limit still
            // leaves room for it.
            QByteArray name = folder + ".glyphwright-";
            for (int i = 0; i < 6; ++i)
                name += Letters[QRandomGenerator::global()->bounded(int(sizeof Letters - 1))];
            const int slot = notePendingFile(name);
            if (makeFile(name.constData())) {
                m_name = std::move(name);
                m_slot = slot;
                return 0;
            }
            const int code = errno;
            forgetPendingFile(slot);
            if (code != EEXIST)
                return code;
        }
        return EEXIST;
    }

    QByteArray m_name;
    int m_fd = -1;
    int m_slot = -1;
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
        // What the kernel finds at the end, when that is no file to replace: a link of /proc
        // such as /proc/self/fd/1 reads as "pipe:[123]", which names nothing.
        if (FileStatus end {}; ::stat(name.constData(), &end) == 0 && !S_ISREG(end.st_mode)) {
            target.status = end;
            target.exists = true;
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

// The target of a write, refused when it cannot be one.
WriteTarget checkedTarget(const QString &path)
{
    WriteTarget target;
    if (path.contains(QChar(0))) {
        target.error = FileIO::nulInName();
        return target;
    }
    target = writeTarget(fileNameBytes(path));
    if (target.error.isEmpty() && target.exists && !S_ISREG(target.status.st_mode))
        target.error = FileIO::notAFile(S_ISDIR(target.status.st_mode));
    return target;
}

// Why no new file can be made beside the target.
QString cannotCreateBeside(const WriteTarget &target, int code)
{
    // Where the file is there, the failure is the folder's (/proc makes no new files in it),
    // not the file's.
    if (code != EACCES && code != EPERM && code != EROFS && !target.exists)
        return target.failure(code);
    QByteArray folder = folderOf(target.name);
    if (folder.isEmpty())
        folder = ".";
    else if (folder.size() > 1)
        folder.chop(1); // the slash
    return FileIO::folderRefuses(printableFileName(fileNameFromBytes(folder)),
                                 target.failure(code));
}

// Writes the bytes, complete and on disk, into a new temporary file in the target's folder (so
// that the rename is atomic), with the mode, owner and group of the file it is to replace.
QString writeBeside(TemporaryFile &temporary, const WriteTarget &target, QByteArrayView bytes)
{
    if (const int code = temporary.create(folderOf(target.name)); code != 0)
        return cannotCreateBeside(target, code);
    // A short write carries no reason; writing the rest again fails with the real one
    // (a full disk, a file-size limit).
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t count = ::write(temporary.fd(), bytes.data() + written,
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
    return {};
}

// The old file under a temporary name of its own, to be renamed back should a later file of a
// set fail: a second link to it, or a copy where the file system has no hard links.
QString keepOld(TemporaryFile &kept, const WriteTarget &target)
{
    if (kept.link(folderOf(target.name), target.name) == 0)
        return {};
    const ReadResult old = readFileStart(fileNameFromBytes(target.name), MaxKeptSize + 1);
    if (!old.error.isEmpty())
        return target.throughLink ? FileIO::linkLeadsTo(
                   printableFileName(fileNameFromBytes(target.name)), old.error)
                                  : old.error;
    if (old.bytes.size() > MaxKeptSize)
        return FileIO::tr("The file there is over %1 MiB, too large to keep in case a later file "
                          "fails; it is not replaced.")
            .arg(MaxKeptSize / (1024 * 1024));
    return writeBeside(kept, target, old.bytes);
}
} // namespace

ReadResult readFileStart(const QString &path, qsizetype maxBytes)
{
    if (path.contains(QChar(0)))
        return {{}, FileIO::nulInName()};
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
    const WriteTarget target = checkedTarget(path);
    if (!target.error.isEmpty())
        return target.error;
    TemporaryFile temporary;
    if (const QString error = writeBeside(temporary, target, bytes); !error.isEmpty())
        return error;
    if (::rename(temporary.name().constData(), target.name.constData()) != 0)
        return target.failure(errno);
    temporary.keep();
    return {};
}

FilesWritten writeFilesAtomically(const QStringList &paths, const QList<QByteArray> &contents)
{
    std::vector<WriteTarget> targets;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        targets.push_back(checkedTarget(paths[i]));
        if (!targets.back().error.isEmpty())
            return {i, targets.back().error, {}};
    }
    // Every new file complete beside its target, and every old one that a later failure would
    // have to put back kept under a name of its own, before any is replaced.
    std::vector<std::unique_ptr<TemporaryFile>> written;
    std::vector<std::unique_ptr<TemporaryFile>> kept;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        written.push_back(std::make_unique<TemporaryFile>());
        if (const QString error = writeBeside(*written.back(), targets[i], contents[i]);
            !error.isEmpty())
            return {i, error, {}};
        kept.emplace_back();
        // Nothing can fail after the last is replaced, so its old file is not needed.
        if (targets[i].exists && i + 1 < paths.size()) {
            kept.back() = std::make_unique<TemporaryFile>();
            if (const QString error = keepOld(*kept.back(), targets[i]); !error.isEmpty())
                return {i, error, {}};
        }
    }
    const SignalsHeld held;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (::rename(written[i]->name().constData(), targets[i].name.constData()) == 0) {
            written[i]->keep();
            continue;
        }
        FilesWritten failure {i, targets[i].failure(errno), {}};
        for (qsizetype j = i - 1; j >= 0; --j) {
            // A file that was not there before goes again; the link that led to it stays.
            const bool putBack
                = kept[j] ? ::rename(kept[j]->name().constData(), targets[j].name.constData()) == 0
                          : ::unlink(targets[j].name.constData()) == 0;
            if (!putBack)
                failure.notPutBack.append({j, targets[j].failure(errno)});
            else if (kept[j])
                kept[j]->keep();
        }
        return failure;
    }
    return {};
}

void removeTemporaryFilesOnSignals()
{
    SignalAction action {};
    action.sa_handler = removePendingFileAndResignal;
    // One handler at a time: the first signal decides how the process ends.
    sigemptyset(&action.sa_mask);
    for (const int number : HandledSignals)
        sigaddset(&action.sa_mask, number);
    for (const int number : HandledSignals) {
        SignalAction current {};
        // A signal the process was started with ignored (nohup, a background job) stays ignored.
        if (::sigaction(number, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            ::sigaction(number, &action, nullptr);
    }
}
