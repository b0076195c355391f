#pragma once

#include "platform/filedialogs.h"

// The Open and Save dialogs for .pf font files, starting in the current font's folder. Open
// always proposes "font.pf"; Save proposes the current file's name.
FileDialogRequest openFontRequest(const QString &folder = {});
FileDialogRequest saveFontRequest(const QString &currentFileName, const QString &folder = {});
