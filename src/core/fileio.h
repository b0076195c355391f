#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

struct ReadResult
{
    QByteArray bytes;
    QString error; // empty when the read succeeded
};

// Reads at most maxBytes from the start of a regular file. Never blocks on a FIFO or device and
// never creates a missing file; anything but a regular file is an error.
ReadResult readFileStart(const QString &path, qsizetype maxBytes);

// Replaces the file with exactly these bytes through a temporary file in the same folder, so a
// failure leaves the old file as it was. The new file keeps the old one's mode, and its owner
// and group as far as the process may set them. A symbolic link stays a link: the file at the
// end of its chain is written, and created when missing, unless the link is another user's in
// a folder such as /tmp. An existing target that is not a regular file is refused and left
// alone. Returns why it failed, or an empty text.
QString writeFileAtomically(const QString &path, const QByteArray &bytes);

// What writing a set of files gave: all written, or the one that failed and why, and the
// files replaced before the failure that could not be put back as they were.
struct FilesWritten
{
    qsizetype failed = -1; // -1 when every file was written
    QString error;
    QList<std::pair<qsizetype, QString>> notPutBack; // the file and why
};

// Replaces several files (a C header and its source) as writeFileAtomically() replaces one, all
// or none: every new file is complete beside its target before any is renamed over it, and the
// renames are not split by SIGHUP, SIGINT or SIGTERM, which end the process before or after
// them. A failed rename puts back the files renamed before it.
FilesWritten writeFilesAtomically(const QStringList &paths, const QList<QByteArray> &contents);

// Once at start-up: when SIGHUP, SIGINT or SIGTERM ends the process during a write, the
// temporary file goes too, and the process still ends as that signal ends it.
void removeTemporaryFilesOnSignals();
