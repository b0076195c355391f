#include "platform/filedialogs.h"

#include "platform/filedialogs_p.h"

#include <QFileInfo>

QString dialogStartFolder(const QString &fontFolder, const QString &lastFolder,
                          const QString &fallback)
{
    for (const QString &folder : {fontFolder, lastFolder}) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    }
    return fallback;
}

QString QtFileDialogs::ask(QWidget *parent, const FileDialogRequest &request)
{
    const QString path = showFileDialog(
        parent, request, dialogStartFolder(request.folder, m_lastFolder, fallbackDialogFolder()));
    if (!path.isEmpty())
        m_lastFolder = QFileInfo(path).absolutePath();
    return path;
}
