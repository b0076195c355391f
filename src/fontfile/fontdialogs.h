#pragma once

#include "platform/filedialogs.h"

// The Open and Save dialogs for .pf font files. Open always proposes "font.pf"; Save proposes
// the current file's name.
FileDialogRequest openFontRequest();
FileDialogRequest saveFontRequest(const QString &currentFileName);
