#pragma once

#include <QCoreApplication>
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
};
