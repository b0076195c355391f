#pragma once

#include "core/fontimage.h"

#include <QString>

class QWidget;

// What the Export command needs of the window that shows the font.
class ExportHost
{
public:
    virtual ~ExportHost() = default;
    // The font as the palette holds it; unapplied edits in the pixel editor are not part of it.
    virtual FontImage fontImage() const = 0;
    // The name of the font file last opened or saved; empty for a new font.
    virtual QString currentFileName() const = 0;
    virtual QWidget *dialogParent() = 0;
};
