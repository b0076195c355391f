#include "export/exportcommand.h"

#include "core/asmexport.h"
#include "core/failure.h"
#include "core/fileio.h"
#include "core/version.h"
#include "export/exporthost.h"
#include "platform/launcher.h"
#include "platform/messages.h"

#include <QCoreApplication>

namespace {
class AsmExport final
{
    Q_DECLARE_TR_FUNCTIONS(AsmExport)
};
} // namespace

FileDialogRequest exportRequest(const QString &currentFileName)
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
    return request;
}

ExportCommand::ExportCommand(ExportHost &host, const Services &services)
    : m_host(host)
    , m_services(services)
{ }

void ExportCommand::run()
{
    const QString path = m_services.fileDialogs->ask(m_host.dialogParent(),
                                                     exportRequest(m_host.currentFileName()));
    if (!path.isEmpty())
        exportAsm(path);
}

void ExportCommand::exportAsm(const QString &path)
{
    const QString error
        = writeFileAtomically(path, asmSource(m_host.fontImage(), m_host.currentFileName()));
    if (!error.isEmpty()) {
        m_services.messages->show(m_host.dialogParent(), Messages::Icon::Warning,
                                  QString::fromUtf8(Version::Title),
                                  FailureText::message(FileTask::WriteExport, path, error));
        return;
    }
    // Shown for reading only; whether a viewer starts does not change the export.
    m_services.launcher->openFile(path);
}
