#pragma once

#include "core/fileio.h"

#include <QCoreApplication>
#include <QFile>
#include <QString>

// The reasons the reader and writer give, in one translation context.
class FileIO final
{
    Q_DECLARE_TR_FUNCTIONS(FileIO)

public:
    static QString notAFile(bool folder)
    {
        return folder ? tr("It is a folder, not a file.") : tr("It is not a regular file.");
    }
    // A failure at the file a symbolic link leads to, which names that file.
    static QString linkLeadsTo(const QString &target, const QString &reason)
    {
        return tr("It is a link to %1: %2").arg(target, reason);
    }
    // A folder that lets no new file be made in it: the file itself may well be writable, so the
    // reason names the folder.
    static QString folderRefuses(const QString &folder, const QString &reason)
    {
        return tr("%1 The folder \"%2\" does not let new files be made in it, and the file is "
                  "replaced by writing a new one beside it.")
            .arg(reason, folder);
    }
    // Names reach the system as C strings, which would end at the NUL.
    static QString nulInName() { return tr("The name holds a NUL byte, which no file name can."); }
    static QString linkNotFollowed()
    {
        return tr("It is another user's link in a folder open to everyone; it is not followed.");
    }
};

// The common end of both readers: at most maxBytes from a file already open for reading.
inline ReadResult readOpenFile(QFile &file, qsizetype maxBytes)
{
    ReadResult result;
    result.bytes = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        return {{}, file.errorString()};
    return result;
}
