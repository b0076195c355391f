#include "fontdialogs/glyphsheet.h"

#include "fontdialogs/fontpicture.h"

#include <QPixmap>

namespace {
// Screen pixels per glyph pixel: a 16 x 16 grid at twice the font's size, as the palette shows
// its cells.
constexpr int SheetScale = 2;
} // namespace

GlyphSheet::GlyphSheet(const QString &accessibleName, QWidget *parent)
    : QLabel(parent)
{
    setAccessibleName(accessibleName);
    setAlignment(Qt::AlignCenter);
    setGlyphs(m_glyphs);
}

void GlyphSheet::setGlyphs(const FontImage &glyphs)
{
    m_glyphs = glyphs;
    setPixmap(QPixmap::fromImage(fontGridPicture(glyphs, SheetScale)));
}
