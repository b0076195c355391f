#include "fontdialogs.h"

#include <QCoreApplication>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("FontDialogs", text);
}

FileDialogRequest fontRequest(FileDialogRequest::Mode mode, const QString &title)
{
    FileDialogRequest request;
    request.mode = mode;
    request.title = title;
    request.allFilesFilter = tr("All Files (*.*)");
    request.filters = {tr("PIC Font (*.pf)"), request.allFilesFilter};
    request.defaultSuffix = QStringLiteral("pf");
    request.initialName = QStringLiteral("font.pf");
    return request;
}
} // namespace

FileDialogRequest openFontRequest()
{
    FileDialogRequest request
        = fontRequest(FileDialogRequest::Mode::Open, tr("Open PIC SSTV Font File"));
    request.mustExist = true;
    return request;
}

FileDialogRequest saveFontRequest(const QString &currentFileName)
{
    FileDialogRequest request
        = fontRequest(FileDialogRequest::Mode::Save, tr("Save PIC SSTV Font File"));
    if (!currentFileName.isEmpty())
        request.initialName = currentFileName;
    request.confirmOverwrite = true;
    return request;
}
