#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// What became of writing several files that belong together (a C header and its source).
struct FileSetWrite
{
    struct PutBack
    {
        QString path;
        QString error; // why it could not be put back as it was; empty when it was
    };

    QString failedPath; // the file that could not be kept or written; empty when all were written
    QString reason;
    QList<PutBack> putBack; // the files written before the failure, last first

    bool ok() const { return failedPath.isEmpty(); }
};

// Writes each file atomically (writeFileAtomically), all or none: when one cannot be written,
// those written before it are put back as they were, or removed when they did not exist. A file
// there that is too large to keep for that is refused before anything is written.
FileSetWrite writeFilesTogether(const QStringList &paths, const QList<QByteArray> &contents);
