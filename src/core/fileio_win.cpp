#include "core/fileio.h"

#include "core/fileio_p.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <atomic>
#include <string>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {
// The longest path a Windows program can count on (MAX_PATH less the terminating zero).
constexpr qsizetype LongestPath = MAX_PATH - 1;

// Windows calls these devices in every folder, with any extension ("nul.asm" is NUL too);
// the three digits after COM and LPT are superscripts, which Windows counts as well.
bool isDeviceName(QString stem)
{
    while (stem.endsWith(QLatin1Char(' ')))
        stem.chop(1);
    stem = stem.toUpper();
    for (const char *device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (stem == QLatin1String(device))
            return true;
    }
    if (stem.size() != 4
        || !(stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT"))))
        return false;
    const QChar digit = stem.at(3);
    return (digit >= QLatin1Char('1') && digit <= QLatin1Char('9')) || digit == QChar(0xB9)
           || digit == QChar(0xB2) || digit == QChar(0xB3);
}

QString inUse()
{
    return FileIO::tr("The file is open in another program.");
}

// Our own words for the failures a user can act on, the system's for the rest.
QString systemReason(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return FileIO::tr("No such file or directory.");
    case ERROR_ACCESS_DENIED:
        return FileIO::tr("Permission denied.");
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return inUse();
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileIO::tr("No space left on device.");
    case ERROR_WRITE_PROTECT:
        return FileIO::tr("The disk is write-protected.");
    default:
        break;
    }
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    QString reason = length > 0 ? QString::fromWCharArray(text, length).trimmed()
                                : FileIO::tr("Windows error %1.").arg(error);
    LocalFree(text);
    if (!reason.endsWith(QLatin1Char('.')))
        reason += QLatin1Char('.');
    return reason;
}

// A path as the file functions take it: whole, with the prefix that lifts MAX_PATH, so that a
// temporary name beside a long target still fits. Or why Windows cannot hold a file there.
struct WindowsPath
{
    std::wstring name;
    QString problem;
};

WindowsPath windowsPath(const QString &path)
{
    if (path.contains(QChar(0)))
        return {{}, FileIO::nulInName()};
    const QString native = QDir::toNativeSeparators(path);
    // The name as given: Windows would quietly drop a final dot or space, or reach a device.
    QString fileName = native.mid(native.lastIndexOf(QLatin1Char('\\')) + 1);
    if (fileName.size() > 1 && fileName.at(1) == QLatin1Char(':'))
        fileName = fileName.mid(2); // drive-relative, "C:font.pf"
    if (fileName != QLatin1String(".") && fileName != QLatin1String("..")
        && (fileName.endsWith(QLatin1Char('.')) || fileName.endsWith(QLatin1Char(' '))))
        return {{}, FileIO::tr("A file name on Windows cannot end in a dot or a space.")};
    const QString stem = fileName.left(fileName.indexOf(QLatin1Char('.')));
    if (isDeviceName(stem))
        return {{},
                FileIO::tr("%1 is the name of a device on Windows, not of a file, whatever its "
                           "extension.")
                    .arg(stem.trimmed().toUpper())};

    const std::wstring given = native.toStdWString();
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = GetFullPathNameW(given.c_str(), DWORD(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = GetFullPathNameW(given.c_str(), DWORD(full.size()), full.data(), nullptr);
    }
    if (length == 0 || length >= full.size())
        return {{}, systemReason(GetLastError())};
    full.resize(length);
    const QString whole = QString::fromStdWString(full);
    // A path already in the long form is taken as given; the device namespace holds no files.
    if (whole.startsWith(QLatin1String("\\\\?\\")))
        return {full, {}};
    if (whole.startsWith(QLatin1String("\\\\.\\")))
        return {{}, FileIO::notAFile(false)};
    if (whole.size() > LongestPath)
        return {{},
                FileIO::tr("The path is %1 characters long; Windows programs accept at most %2.")
                    .arg(whole.size())
                    .arg(LongestPath)};
    // After the drive ("C:") or the two backslashes of a network path, a colon would name a
    // stream inside a file, not a file.
    for (qsizetype i = 2; i < whole.size(); ++i) {
        const QChar c = whole.at(i);
        if (c.unicode() < 0x20 || QStringView(u":*?\"<>|").contains(c))
            return {{},
                    FileIO::tr("A file name on Windows cannot contain control characters or any "
                               "of : * ? \" < > |.")};
    }
    const bool unc = whole.startsWith(QLatin1String("\\\\"));
    return {unc ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full, {}};
}

// The temporary file being written, for the console control handler, which runs on a thread of
// its own: Ctrl+C, Ctrl+Break and closing the console end the program without unwinding.
std::atomic<const wchar_t *> writing {nullptr};

BOOL WINAPI removeTemporaryFile(DWORD event)
{
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) {
        // The file is open, shared for deletion: it goes when the ending process closes it.
        if (const wchar_t *name = writing.load())
            DeleteFileW(name);
    }
    return FALSE; // and the program ends as it would have
}

// A handle that is closed, and a file name that is deleted, unless told otherwise.
class TemporaryFile final
{
public:
    explicit TemporaryFile(std::wstring name, HANDLE handle)
        : m_name(std::move(name))
        , m_handle(handle)
    {
        writing.store(m_name.c_str());
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;
    ~TemporaryFile()
    {
        writing.store(nullptr);
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
        if (!m_kept)
            DeleteFileW(m_name.c_str());
    }
    HANDLE handle() const { return m_handle; }
    const std::wstring &name() const { return m_name; }
    bool close()
    {
        const bool closed = CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }
    void keep()
    {
        writing.store(nullptr);
        m_kept = true;
    }

private:
    std::wstring m_name;
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    bool m_kept = false;
};

// A file that another program holds open without letting others delete it cannot be replaced.
bool heldByAnotherProgram(const std::wstring &target)
{
    const HANDLE probe = CreateFileW(target.c_str(), DELETE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
    }
    CloseHandle(probe);
    return false;
}
} // namespace

ReadResult readFileStart(const QString &path, qsizetype maxBytes)
{
    const WindowsPath file = windowsPath(path);
    if (!file.problem.isEmpty())
        return {{}, file.problem};
    const DWORD attributes = GetFileAttributesW(file.name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {{}, FileIO::notAFile(true)};
    // Other programs may go on using the file while it is read.
    const HANDLE handle = CreateFileW(file.name.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {{}, systemReason(GetLastError())};
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return {{}, FileIO::notAFile(false)};
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return {{}, FileIO::tr("The file could not be read.")};
    }
    QFile opened;
    if (!opened.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        _close(fd);
        return {{}, opened.errorString()};
    }
    return readOpenFile(opened, maxBytes);
}

QString writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    const WindowsPath file = windowsPath(path);
    if (!file.problem.isEmpty())
        return file.problem;
    const std::wstring &target = file.name;
    WIN32_FILE_ATTRIBUTE_DATA existing {};
    const bool exists = GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &existing);
    if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND)
        return systemReason(GetLastError());
    if (exists) {
        if (existing.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            return FileIO::notAFile(true);
        if (existing.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
            return FileIO::tr("The file is read-only.");
        // Said before anything is written, rather than after a complete new file was made.
        if (heldByAnotherProgram(target))
            return inUse();
    }

    // A name of our own in the same folder, so that moving it over the target stays on one
    // volume and replaces the file in one step.
    const std::wstring folder = target.substr(0, target.rfind(L'\\') + 1);
    HANDLE handle = INVALID_HANDLE_VALUE;
    std::wstring temporaryName;
    for (int attempt = 0; attempt < 100 && handle == INVALID_HANDLE_VALUE; ++attempt) {
        temporaryName = folder + L"~glyphwright-"
                        + QString::number(QRandomGenerator::global()->generate(), 16).toStdWString()
                        + L".tmp";
        // Shared for deletion alone, so that an interrupted write can remove it.
        handle = CreateFileW(temporaryName.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            return systemReason(GetLastError());
    }
    if (handle == INVALID_HANDLE_VALUE)
        return systemReason(GetLastError());
    TemporaryFile temporary(temporaryName, handle);

    for (qsizetype written = 0; written < bytes.size();) {
        const DWORD chunk = DWORD(qMin<qsizetype>(bytes.size() - written, 1 << 20));
        DWORD count = 0;
        if (!WriteFile(temporary.handle(), bytes.constData() + written, chunk, &count, nullptr))
            return systemReason(GetLastError());
        written += count;
    }
    if (!FlushFileBuffers(temporary.handle()) || !temporary.close())
        return systemReason(GetLastError());
    // The replaced file's hidden, system and indexing marks stay with its name.
    if (exists) {
        const DWORD kept = existing.dwFileAttributes
                           & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
                              | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_ARCHIVE);
        if (kept != 0)
            SetFileAttributesW(temporary.name().c_str(), kept);
    }
    if (!MoveFileExW(temporary.name().c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        if (error == ERROR_ACCESS_DENIED && exists && heldByAnotherProgram(target))
            return inUse();
        return systemReason(error);
    }
    temporary.keep();
    return {};
}

void removeTemporaryFilesOnSignals()
{
    SetConsoleCtrlHandler(removeTemporaryFile, TRUE);
}
