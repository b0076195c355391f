#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// gzip as Linux distributions ship console fonts in: only read, never written.
bool isGzip(QByteArrayView bytes);

struct Inflated
{
    QByteArray bytes;
    QString error; // empty when the whole member was inflated
};

// Inflates the first gzip member. Truncated or damaged data is an error, and so is an output
// beyond maxSize (no font is that large).
Inflated gunzip(QByteArrayView bytes, qsizetype maxSize);
