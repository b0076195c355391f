#pragma once

#include "core/fontimage.h"
#include "core/modtools.h"
#include "platform/services.h"

#include <QString>

#include <optional>

class QWidget;

// A font read from a .pf file and the title that names the file.
struct OpenedFont
{
    FontImage font {};
    EditorTitle title;
};

// Open: asks for a .pf file and reads it in full. Nothing when the dialog is cancelled or the file
// cannot be read (after a message naming the file and the reason), so that the caller changes
// nothing.
std::optional<OpenedFont> openFont(QWidget *parent, const Services &services);
// The second half of Open, for a file already chosen: the one named on the command line.
std::optional<OpenedFont> openFontFile(QWidget *parent, const Services &services,
                                       const QString &path);

// Save: asks for a file name, proposing the current one, and writes the font there. The title
// that names the saved file, or nothing when cancelled or failed (after a message); a failed save
// leaves the old file as it was.
std::optional<EditorTitle> saveFont(QWidget *parent, const Services &services,
                                    const FontImage &font, const QString &currentFileName);
