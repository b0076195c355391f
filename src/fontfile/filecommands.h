#pragma once

#include "core/fontimage.h"
#include "core/modtools.h"
#include "platform/services.h"

#include <QString>

#include <optional>

class QWidget;

// A font read from a .pf file and the title that names the file; or a font imported from a file
// of another format, with what the import read.
struct OpenedFont
{
    FontImage font {};
    EditorTitle title;
    QString path;
    bool imported = false;
    QString report; // for an import: what was read, and any warnings
};

// Where a font was saved, and the title that names the file.
struct SavedFont
{
    EditorTitle title;
    QString path;
};

// Open: asks for a .pf file and reads it in full. Nothing when the dialog is cancelled or the file
// cannot be read (after a message naming the file and the reason), so that the caller changes
// nothing.
std::optional<OpenedFont> openFont(QWidget *parent, const Services &services,
                                   const QString &folder = {});
// The second half of Open, for a file already chosen.
std::optional<OpenedFont> openFontFile(QWidget *parent, const Services &services,
                                       const QString &path);
// A file given to the program, on its command line or dropped on the window: a .pf file, or a
// file whose content is in a format the companion's import reads, imported as it would with
// its defaults; anything else is opened as Open opens it. Nothing when it cannot be read (after
// a message naming the file and the reason).
std::optional<OpenedFont> openGivenFile(QWidget *parent, const Services &services,
                                        const QString &path);

// Save: asks for a file name, proposing the current one, and writes the font there. The saved
// file and its title, or nothing when cancelled or failed (after a message); a failed save
// leaves the old file as it was.
std::optional<SavedFont> saveFont(QWidget *parent, const Services &services, const FontImage &font,
                                  const QString &currentFileName, const QString &folder = {});
