#include "fontfile/fontdialogs.h"

#include <QCoreApplication>

namespace {
class FontDialogs final
{
    Q_DECLARE_TR_FUNCTIONS(FontDialogs)
};

FileDialogRequest fontRequest(FileDialogRequest::Mode mode, const QString &title,
                              const QString &folder)
{
    FileDialogRequest request;
    request.mode = mode;
    request.title = title;
    request.allFilesFilter = FontDialogs::tr("All Files (*.*)");
    request.filters = {FontDialogs::tr("PIC Font (*.pf)"), request.allFilesFilter};
    request.defaultSuffix = QStringLiteral("pf");
    request.initialName = QStringLiteral("font.pf");
    request.folder = folder;
    return request;
}
} // namespace

FileDialogRequest openFontRequest(const QString &folder)
{
    FileDialogRequest request = fontRequest(FileDialogRequest::Mode::Open,
                                            FontDialogs::tr("Open PIC SSTV Font File"), folder);
    request.mustExist = true;
    return request;
}

FileDialogRequest saveFontRequest(const QString &currentFileName, const QString &folder)
{
    FileDialogRequest request = fontRequest(FileDialogRequest::Mode::Save,
                                            FontDialogs::tr("Save PIC SSTV Font File"), folder);
    if (!currentFileName.isEmpty())
        request.initialName = currentFileName;
    request.confirmOverwrite = true;
    return request;
}
