#pragma once

#include "core/fontimage.h"
#include "core/modtools.h"

#include <QString>

class QWidget;

// What the File commands need of the window that shows the font.
class FileHost
{
public:
    virtual ~FileHost() = default;
    // The font as the palette holds it; unapplied edits in the pixel editor are not part of it.
    virtual FontImage fontImage() const = 0;
    virtual void setFontImage(const FontImage &font) = 0;
    // Every character blank, none selected, the pixel editor cleared.
    virtual void blankFont() = 0;
    // Character 0 selected and holding the keyboard focus, so that selection and focus agree.
    virtual void selectFirstCharacter() = 0;
    // Shows the caption and keeps the file name as the current one.
    virtual void setTitle(const EditorTitle &title) = 0;
    virtual QString currentFileName() const = 0;
    virtual QWidget *dialogParent() = 0;
};
