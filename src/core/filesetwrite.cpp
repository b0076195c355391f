#include "core/filesetwrite.h"

#include "core/fileio.h"
#include "core/filename.h"

#include <QLocale>

#include <optional>

namespace {
// The most of an earlier file kept to put back when a later one of a set cannot be written;
// nothing the programs write comes near it.
constexpr qsizetype MaxKeptSize = 64 * 1024 * 1024;
} // namespace

FileSetWrite writeFilesTogether(const QStringList &paths, const QList<QByteArray> &contents)
{
    FileSetWrite result;
    // What each file held before, so that a later failure can put it back.
    QList<std::optional<QByteArray>> earlier;
    for (const QString &path : paths) {
        if (!nameExists(path)) {
            earlier.append(std::nullopt);
            continue;
        }
        ReadResult read = readFileStart(path, MaxKeptSize + 1);
        if (read.error.isEmpty() && read.bytes.size() > MaxKeptSize)
            read.error = QStringLiteral("the file there is over %1 bytes, too large to keep in "
                                        "case a later file fails; not replacing it.")
                             .arg(QLocale(QLocale::English).toString(MaxKeptSize));
        if (!read.error.isEmpty()) {
            result.failedPath = path;
            result.reason = read.error;
            return result;
        }
        earlier.append(std::move(read.bytes));
    }
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString error = writeFileAtomically(paths[i], contents.value(i));
        if (error.isEmpty())
            continue;
        result.failedPath = paths[i];
        result.reason = error;
        for (qsizetype j = i - 1; j >= 0; --j) {
            const QString undo = earlier[j] ? writeFileAtomically(paths[j], *earlier[j])
                                 : removeName(paths[j])
                                     ? QString()
                                     : QStringLiteral("it could not be removed.");
            result.putBack.append({paths[j], undo});
        }
        return result;
    }
    return result;
}
