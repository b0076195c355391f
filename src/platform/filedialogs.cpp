#include "platform/filedialogs.h"

#include <QFileDialog>
#include <QFileSystemModel>

QString QtFileDialogs::ask(QWidget *parent, const FileDialogRequest &request)
{
    // Qt's own dialog on every desktop, so that the settings below mean the same everywhere.
    QFileDialog dialog(parent, request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(request.filters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (request.mode == FileDialogRequest::Mode::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
    }
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.selectFile(request.initialName);

    // On Linux the pattern "*.*" would hide names without a dot; the "All Files" entry keeps
    // its familiar caption but lists everything. The dialog has applied its own patterns by the
    // time filterSelected() arrives, so this replaces them.
    if (auto *model = dialog.findChild<QFileSystemModel *>()) {
        QObject::connect(&dialog, &QFileDialog::filterSelected, model,
                         [model, all = request.allFilesFilter](const QString &filter) {
                             if (filter == all)
                                 model->setNameFilters({QStringLiteral("*")});
                         });
    }

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
