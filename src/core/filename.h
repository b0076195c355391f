#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// File names as the system keeps them. On Linux a name is any bytes, not always UTF-8, and Qt's
// own conversion turns the bytes that are not into U+FFFD for good, so that the file can no longer
// be named. These conversions keep them instead: each byte of an invalid sequence becomes the
// lone surrogate U+DC80 to U+DCFF (which valid UTF-8 never yields) and turns back into that byte.
QString fileNameFromBytes(QByteArrayView bytes);
QByteArray fileNameBytes(const QString &name);

// Where the first kept byte is in a text taken from the command line, or -1 when it is all UTF-8.
qsizetype firstKeptByte(const QString &text);

// The name for messages: a kept byte is shown as \xFF, the rest as it is.
QString printableFileName(const QString &name);

// The program's arguments with file names kept as the system gave them (argv's bytes on Linux,
// the UTF-16 command line on Windows), the program's name first.
QStringList commandLineArguments(int argc, char **argv);

// Whether anything goes by this name, a link to nothing included.
bool nameExists(const QString &name);
// Removes what goes by this name (a link, not what it points to); false when it could not.
bool removeName(const QString &name);

// Whether two names reach the same existing file (through links, or hard links, alike).
bool sameFile(const QString &first, const QString &second);
