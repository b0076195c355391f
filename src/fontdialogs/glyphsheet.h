#pragma once

#include "core/fontimage.h"

#include <QLabel>

// The 256 glyphs of a font in a 16 x 16 grid, code 0 at the top left, as a preview.
class GlyphSheet final : public QLabel
{
    Q_OBJECT

public:
    explicit GlyphSheet(const QString &accessibleName, QWidget *parent);

    const FontImage &glyphs() const { return m_glyphs; }
    void setGlyphs(const FontImage &glyphs);

private:
    FontImage m_glyphs {};
};
