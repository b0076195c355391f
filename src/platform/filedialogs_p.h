#pragma once

#include "platform/filedialogs.h"

// The dialog as each system shows it (filedialogs_unix.cpp, filedialogs_win.cpp), started in the
// given folder; an empty result means cancelled.
QString showFileDialog(QWidget *parent, const FileDialogRequest &request,
                       const QString &startFolder);
// Where a dialog starts when nothing else says: the user's own folder for documents.
QString fallbackDialogFolder();
