#include "cli/fontinput.h"

#include "cli/cli.h"
#include "core/fileio.h"

#include <QLocale>

#include <cstdio>

namespace {
// A fixed locale for numbers in messages, whatever the user's settings.
QString bytesText(qsizetype count)
{
    return QLocale(QLocale::English).toString(count);
}

std::optional<QByteArray> readStandardInput(qsizetype maxBytes)
{
    QByteArray bytes;
    char buffer[65536];
    while (bytes.size() <= maxBytes) {
        const size_t count = std::fread(buffer, 1, sizeof buffer, stdin);
        bytes.append(buffer, static_cast<qsizetype>(count));
        if (count < sizeof buffer)
            break;
    }
    if (std::ferror(stdin)) {
        printError(QStringLiteral("standard input: cannot read."));
        return std::nullopt;
    }
    return bytes;
}
} // namespace

std::optional<FontInput> readFontInput(const QString &path)
{
    // One byte past a font tells a longer file from an exact one.
    const ReadResult read = readFileStart(path, FontFileSize + 1);
    if (!read.error.isEmpty()) {
        printError(QStringLiteral("%1: cannot read: %2").arg(inputName(path), read.error));
        return std::nullopt;
    }
    FontInput input {fontImageFromBytes(read.bytes), read.bytes.size() == FontFileSize};
    if (read.bytes.size() > FontFileSize) {
        printWarning(QStringLiteral("%1 is longer than %2 bytes; only the first %2 are read, as "
                                    "the editor does.")
                         .arg(inputName(path), bytesText(FontFileSize)));
    } else if (read.bytes.size() < FontFileSize) {
        printWarning(
            QStringLiteral("%1 is %2 bytes, not %3; the missing bytes are read as zero, "
                           "as the editor does.")
                .arg(inputName(path), bytesText(read.bytes.size()), bytesText(FontFileSize)));
    }
    return input;
}

std::optional<QByteArray> readWholeInput(const QString &path, qsizetype maxBytes)
{
    std::optional<QByteArray> bytes;
    if (path == QLatin1String("-")) {
        bytes = readStandardInput(maxBytes);
    } else {
        ReadResult read = readFileStart(path, maxBytes + 1);
        if (!read.error.isEmpty()) {
            printError(QStringLiteral("%1: cannot read: %2").arg(inputName(path), read.error));
            return std::nullopt;
        }
        bytes = std::move(read.bytes);
    }
    if (bytes && bytes->size() > maxBytes) {
        printError(QStringLiteral("%1: more than %2 bytes; this is not the file expected here.")
                       .arg(inputName(path), bytesText(maxBytes)));
        return std::nullopt;
    }
    return bytes;
}
