#include "core/failure.h"

#include <QDir>

QString FailureText::message(FileTask task, const QString &path, const QString &reason)
{
    const QString file = QDir::toNativeSeparators(path);
    switch (task) {
    case FileTask::OpenFont:
        return tr("The font file \"%1\" could not be opened.\n\n%2\n\nThe font in the editor is "
                  "unchanged.")
            .arg(file, reason);
    case FileTask::SaveFont:
        return tr("The font file \"%1\" could not be saved.\n\n%2\n\nNo file was changed.")
            .arg(file, reason);
    case FileTask::WriteFontAs:
        return tr("The file \"%1\" could not be written.\n\n%2\n\nNo file was changed.")
            .arg(file, reason);
    case FileTask::WriteExport:
        return tr("The assembler file \"%1\" could not be written.\n\n%2\n\nNo file was changed.")
            .arg(file, reason);
    }
    return reason;
}
