#pragma once

#include <QByteArray>
#include <QString>

struct ReadResult
{
    QByteArray bytes;
    QString error; // empty when the read succeeded
};

// Reads at most maxBytes from the start of a regular file. Never blocks on a FIFO or device and
// never creates a missing file; anything but a regular file is an error.
ReadResult readFileStart(const QString &path, qsizetype maxBytes);

// Replaces the file with exactly these bytes through a temporary file in the same folder, so a
// failure leaves the old file as it was. An existing target that is not a regular file (or a
// link to one) is refused and left alone. Returns why it failed, or an empty text.
QString writeFileAtomically(const QString &path, const QByteArray &bytes);
