#include "cli/fontinput.h"

#include "cli/cli.h"
#include "cli/standardstreams.h"
#include "core/charbitmap.h"
#include "core/fileio.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
std::optional<QByteArray> readStandardInput(qsizetype maxBytes)
{
    if (standardInputWasClosed()) {
        printError(QStringLiteral("standard input: cannot read: it is closed."));
        return std::nullopt;
    }
    QByteArray bytes;
    char buffer[65536];
    while (bytes.size() < maxBytes) {
        const size_t wanted = static_cast<size_t>(
            std::min<qsizetype>(qsizetype(sizeof buffer), maxBytes - bytes.size()));
        const size_t count = std::fread(buffer, 1, wanted, stdin);
        bytes.append(buffer, static_cast<qsizetype>(count));
        if (count < wanted)
            break;
    }
    if (std::ferror(stdin)) {
        printError(QStringLiteral("standard input: cannot read: %1.")
                       .arg(QString::fromLocal8Bit(std::strerror(errno))));
        return std::nullopt;
    }
    return bytes;
}
} // namespace

namespace {
enum class Longer { Warned, Refused };

std::optional<FontInput> readFont(const QString &path, Longer longer)
{
    // One byte past a font tells a longer file from an exact one.
    const std::optional<QByteArray> bytes = readInputStart(path, FontFileSize + 1);
    if (!bytes)
        return std::nullopt;
    if (longer == Longer::Refused && bytes->size() > FontFileSize) {
        printError(QStringLiteral("%1 is longer than %2 bytes, and only the font would be "
                                  "written back; not replacing it.")
                       .arg(inputName(path), numberText(FontFileSize)));
        return std::nullopt;
    }
    FontInput input {fontImageFromBytes(*bytes), bytes->size() == FontFileSize};
    if (bytes->size() > FontFileSize) {
        printWarning(QStringLiteral("%1 is longer than %2 bytes; only the first %2 are read, as "
                                    "the editor does.")
                         .arg(inputName(path), numberText(FontFileSize)));
    } else if (bytes->size() < FontFileSize) {
        printWarning(
            QStringLiteral("%1 is %2 bytes, not %3; the missing bytes are read as zero, "
                           "as the editor does.")
                .arg(inputName(path), numberText(bytes->size()), numberText(FontFileSize)));
    }
    return input;
}
} // namespace

std::optional<FontInput> readFontInput(const QString &path)
{
    return readFont(path, Longer::Warned);
}

std::optional<FontInput> readFontToReplace(const QString &path)
{
    return readFont(path, Longer::Refused);
}

std::optional<QByteArray> readInputStart(const QString &path, qsizetype maxBytes)
{
    if (path == QLatin1String("-"))
        return readStandardInput(maxBytes);
    ReadResult read = readFileStart(path, maxBytes);
    if (!read.error.isEmpty()) {
        printError(QStringLiteral("%1: cannot read: %2").arg(inputName(path), read.error));
        return std::nullopt;
    }
    return std::move(read.bytes);
}

std::optional<QByteArray> readWholeInput(const QString &path, qsizetype maxBytes)
{
    // One byte more tells a file that is too long from one that just fits.
    const std::optional<QByteArray> bytes = readInputStart(path, maxBytes + 1);
    if (bytes && bytes->size() > maxBytes) {
        printError(QStringLiteral("%1: more than %2 bytes; this is not the file expected here.")
                       .arg(inputName(path), numberText(maxBytes)));
        return std::nullopt;
    }
    return bytes;
}
