#pragma once

#include <QCoreApplication>
#include <QString>

// What a file command was doing when it failed.
enum class FileTask { OpenFont, SaveFont, WriteExport, WriteFontAs };

// The one place failure texts are built: they name the file, give the reason and say what was
// left as it was.
class FailureText final
{
    Q_DECLARE_TR_FUNCTIONS(FailureText)

public:
    static QString message(FileTask task, const QString &path, const QString &reason);
};
