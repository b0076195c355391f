#include "export/exportcommand.h"

#include "core/asmexport.h"
#include "core/failure.h"
#include "core/fileio.h"
#include "core/version.h"
#include "platform/launcher.h"
#include "platform/messages.h"

#include <QCoreApplication>

namespace {
class AsmExport final
{
    Q_DECLARE_TR_FUNCTIONS(AsmExport)
};
} // namespace

FileDialogRequest exportRequest(const QString &currentFileName, const QString &folder)
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = AsmExport::tr("Export Font as Pic ASM");
    request.allFilesFilter = AsmExport::tr("All Files (*.*)");
    request.filters = {AsmExport::tr("PIC Assembler (*.asm)"), request.allFilesFilter};
    request.defaultSuffix = QStringLiteral("asm");
    // Appended, not replacing the extension: big.pf gives big.pf.asm.
    request.initialName = (currentFileName.isEmpty() ? QStringLiteral("font") : currentFileName)
                          + QStringLiteral(".asm");
    // A new file may be chosen, and an existing one is replaced without a question.
    request.mustExist = false;
    request.confirmOverwrite = false;
    request.folder = folder;
    return request;
}

std::optional<QString> exportFont(QWidget *parent, const Services &services, const FontImage &font,
                                  const QString &currentFileName, const QString &folder)
{
    const QString path = services.fileDialogs->ask(parent, exportRequest(currentFileName, folder));
    if (path.isEmpty())
        return std::nullopt;
    const QString error = writeFileAtomically(path, asmSource(font, currentFileName));
    if (!error.isEmpty()) {
        services.messages->show(parent, Messages::Icon::Warning, QString::fromUtf8(Version::Title),
                                FailureText::message(FileTask::WriteExport, path, error));
        return std::nullopt;
    }
    // Shown for reading only; whether a viewer starts does not change the export.
    services.launcher->openFile(path);
    return path;
}
