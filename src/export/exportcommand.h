#pragma once

#include "core/fontimage.h"
#include "platform/filedialogs.h"
#include "platform/services.h"

#include <QString>

#include <optional>

class QWidget;

// The Export dialog, starting in the font's folder; it proposes the font file's name with ".asm"
// appended, or "font.asm".
FileDialogRequest exportRequest(const QString &currentFileName, const QString &folder = {});

// Export: asks for a file and writes the font there as assembler source whose header names the
// current font file, then opens it in the desktop's viewer. The file written, or nothing when
// cancelled or failed (after a message naming the file and the reason).
std::optional<QString> exportFont(QWidget *parent, const Services &services, const FontImage &font,
                                  const QString &currentFileName, const QString &folder = {});
