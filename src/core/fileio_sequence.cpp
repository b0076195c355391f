// Writing a set of files where the system has no signals to hold back: one after the other,
// putting back those written before a failure.
#include "core/fileio.h"

#include "core/fileio_p.h"
#include "core/filename.h"

#include <optional>

namespace {
// The most of an earlier file kept to put back when a later one of a set cannot be written;
// nothing the programs write comes near it.
constexpr qsizetype MaxKeptSize = 64 * 1024 * 1024;
} // namespace

FilesWritten writeFilesAtomically(const QStringList &paths, const QList<QByteArray> &contents)
{
    // What each file held before, so that a later failure can put it back.
    QList<std::optional<QByteArray>> earlier;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (!nameExists(paths[i])) {
            earlier.append(std::nullopt);
            continue;
        }
        ReadResult read = readFileStart(paths[i], MaxKeptSize + 1);
        if (read.error.isEmpty() && read.bytes.size() > MaxKeptSize)
            read.error = FileIO::tr("The file there is over %1 MiB, too large to keep in case a "
                                    "later file fails; it is not replaced.")
                             .arg(MaxKeptSize / (1024 * 1024));
        if (!read.error.isEmpty())
            return {i, read.error, {}};
        earlier.append(std::move(read.bytes));
    }
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString error = writeFileAtomically(paths[i], contents[i]);
        if (error.isEmpty())
            continue;
        FilesWritten failure {i, error, {}};
        for (qsizetype j = i - 1; j >= 0; --j) {
            const QString undo = earlier[j]             ? writeFileAtomically(paths[j], *earlier[j])
                                 : removeName(paths[j]) ? QString()
                                                        : FileIO::tr("It could not be removed.");
            if (!undo.isEmpty())
                failure.notPutBack.append({j, undo});
        }
        return failure;
    }
    return {};
}
