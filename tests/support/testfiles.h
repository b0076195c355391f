#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTest>

#ifndef Q_OS_WIN
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>
#endif

// Files on disk for tests that check bytes, modes and kinds of file.

// Bytes that differ from their neighbours, so that any shift or truncation shows.
inline QByteArray pattern(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    return bytes;
}

// Little-endian numbers as binary formats hold them (PSF, BMP, gzip): count bytes of value,
// written at a place or appended.
inline void putLe(QByteArray &bytes, qsizetype at, quint32 value, int count)
{
    for (int i = 0; i < count; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}
inline void putLe32(QByteArray &bytes, qsizetype at, quint32 value)
{
    putLe(bytes, at, value, 4);
}
inline void appendLe(QByteArray &bytes, quint32 value, int count)
{
    bytes.append(count, '\0');
    putLe(bytes, bytes.size() - count, value, count);
}

inline void writeRaw(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Every name in a folder, hidden ones (a writer's temporary files) and special files included.
inline QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System
                                  | QDir::Hidden);
}

// "<unreadable>" for a file that cannot be read, so that it never equals expected bytes.
inline QByteArray readRaw(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Names on disk that are not regular files: "fifo", "socket", or "device" (a link to a
// character device node, so that a writer that follows links reaches a device). Run as root, the
// node is the test's own, made beside the link as PATH.device, so that a writer that wrongly
// replaced it would replace no device of the system's; an unprivileged user links to /dev/null,
// which only root could replace. False when it cannot be made (a device node needs CAP_MKNOD).
#ifdef Q_OS_WIN
// Windows keeps no FIFOs, sockets or device nodes in folders: the rows that need one skip.
inline constexpr bool CanMakeSpecialFiles = false;
inline bool makeSpecialFile(const QString &, const QString &)
{
    return false;
}
#else
inline constexpr bool CanMakeSpecialFiles = true;
inline bool makeSpecialFile(const QString &kind, const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (kind == QLatin1String("fifo"))
        return ::mkfifo(name.constData(), 0644) == 0;
    if (kind == QLatin1String("device")) {
        QByteArray node("/dev/null");
        if (::geteuid() == 0) {
            node = name + ".device";
            if (::mknod(node.constData(), S_IFCHR | 0666, ::makedev(1, 3)) != 0)
                return false;
        }
        return ::symlink(node.constData(), name.constData()) == 0;
    }
    if (kind != QLatin1String("socket"))
        return false;
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (static_cast<size_t>(name.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    // The socket's name stays on disk after the socket is closed.
    const bool bound
        = ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}
#endif

// The kinds that makeSpecialFile() makes, as the rows of a _data() table with the column "kind".
inline void addSpecialFileRows()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("fifo") << QStringLiteral("fifo");
    QTest::newRow("socket") << QStringLiteral("socket");
    QTest::newRow("link to a device") << QStringLiteral("device");
}

// Makes the special file that a row of addSpecialFileRows() names, and skips the row where it
// cannot be made (a device node without CAP_MKNOD; any of them on Windows). A macro, because QSKIP
// and QVERIFY end the test function they are in.
#define MAKE_SPECIAL_FILE_OR_SKIP(kind, path)                                                      \
    do {                                                                                           \
        const bool made = makeSpecialFile(kind, path);                                             \
        if (!made && (!CanMakeSpecialFiles || (kind) == QLatin1String("device")))                  \
            QSKIP("no such special file can be made here");                                        \
        QVERIFY(made);                                                                             \
    } while (false)

// What a name is on disk, a link not followed: "file", "folder", "fifo", "socket", "device",
// "link to TARGET" or "missing".
inline QString nodeKind(const QString &path)
{
#ifdef Q_OS_WIN
    const QFileInfo info(path);
    if (info.isSymLink())
        return QStringLiteral("link to ") + info.symLinkTarget();
    if (!info.exists())
        return QStringLiteral("missing");
    return info.isDir()    ? QStringLiteral("folder")
           : info.isFile() ? QStringLiteral("file")
                           : QStringLiteral("device");
#else
    using FileStatus = struct stat;
    FileStatus info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("missing");
    if (S_ISLNK(info.st_mode))
        return QStringLiteral("link to ") + QFile::symLinkTarget(path);
    if (S_ISREG(info.st_mode))
        return QStringLiteral("file");
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("folder");
    if (S_ISFIFO(info.st_mode))
        return QStringLiteral("fifo");
    if (S_ISSOCK(info.st_mode))
        return QStringLiteral("socket");
    return QStringLiteral("device");
#endif
}

// Every name in a folder with what it is, so that a test can tell that nothing was added,
// removed or replaced by something of another kind.
inline QStringList folderSnapshot(const QString &folder)
{
    QStringList snapshot;
    for (const QString &name : folderEntries(folder))
        snapshot.append(name + QStringLiteral(": ") + nodeKind(QDir(folder).filePath(name)));
    return snapshot;
}
