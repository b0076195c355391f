#include "platform/launcher.h"

#include <QDesktopServices>
#include <QUrl>

bool DesktopLauncher::openFile(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
