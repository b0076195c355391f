#include "platform/filedialogs_p.h"

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSettings>

namespace {
// Qt's dialog keeps its history, its last folder and its layout in the user's QtProject.conf
// when it closes, and nothing turns that off. The program keeps no settings, so its user
// settings are directed where no file can be made (below a file, not a folder).
void keepNoSettings()
{
    static const bool done = [] {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QStringLiteral("/dev/null"));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
        return true;
    }();
    Q_UNUSED(done);
}
} // namespace

QString fallbackDialogFolder()
{
    return QDir::homePath();
}

QString showFileDialog(QWidget *parent, const FileDialogRequest &request,
                       const QString &startFolder)
{
    keepNoSettings();
    // Qt's own dialog on every desktop but Windows, so that the settings below mean the same
    // everywhere.
    QFileDialog dialog(parent, request.title, startFolder);
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
