#include "editor/fontpalette.h"

#include "glyphcell/fontchar.h"
#include "glyphcell/twips.h"

#include <QWidget>

namespace {
// Twips: the palette as the window defines it, before start-up places it.
constexpr double DefinedCellPitch = 240, DefinedCellSize = 220;

const QColor SelectedColor(0x00, 0xFF, 0x00);
} // namespace

FontPalette::FontPalette(QWidget *container)
    : QObject(container)
{
    for (int i = 0; i < CharacterCount; ++i) {
        auto *cell = new FontChar(i, container);
        cell->setObjectName(QStringLiteral("SelFontChar(%1)").arg(i));
        cell->setGeometry(twipsRect(DefinedCellPitch * (i % CellsPerRow),
                                    DefinedCellPitch * (i / CellsPerRow), DefinedCellSize,
                                    DefinedCellSize));
        connect(cell, &FontChar::gotFocus, this, &FontPalette::SelFontChar_GotFocus);
        // A click selects even a cell that kept the focus while New or Open selected another.
        connect(cell, &FontChar::clicked, this, &FontPalette::SelFontChar_GotFocus);
        connect(cell, &FontChar::arrowPressed, this, &FontPalette::SelFontChar_ArrowKey);
        m_cells[i] = cell;
    }
}

QList<QWidget *> FontPalette::tabChain() const
{
    return {m_cells.begin(), m_cells.end()};
}

void FontPalette::place(const FormLayout &layout)
{
    for (FontChar *cell : m_cells) {
        cell->setToolTip(charDescription(cell->index()));
        cell->Pack();
        const QRectF &twips = layout.cells[cell->index()];
        cell->move(px(twips.left()), px(twips.top()));
    }
}

void FontPalette::setFont(const FontImage &font)
{
    m_font = font;
    for (FontChar *cell : m_cells)
        cell->DrawChar(glyphOf(font, cell->index()));
}

void FontPalette::setGlyph(int code, const CharBitMap &glyph)
{
    ::setGlyph(m_font, code, glyph);
    m_cells.at(code)->DrawChar(glyph);
}

void FontPalette::clear()
{
    m_font = {};
    for (FontChar *cell : m_cells)
        cell->Clear();
    // Clear() has already whitened the selected cell; only its state is left to take back.
    if (m_SelectedIndex >= 0)
        m_cells[m_SelectedIndex]->setSelected(false);
    m_SelectedIndex = -1;
}

void FontPalette::SelFontChar_GotFocus(int Index)
{
    if (Index == m_SelectedIndex)
        return;
    if (m_SelectedIndex >= 0) {
        m_cells[m_SelectedIndex]->setBackColor(Qt::white);
        m_cells[m_SelectedIndex]->setSelected(false);
    }
    FontChar *cell = m_cells.at(Index);
    cell->setBackColor(SelectedColor);
    cell->setSelected(true);
    m_SelectedIndex = Index;
    Q_EMIT characterSelected(Index, cell->BitMap());
}

void FontPalette::selectAndFocus(int code)
{
    m_cells.at(code)->setFocus(Qt::OtherFocusReason);
    SelFontChar_GotFocus(code);
}

// Left and Right step through the codes, Up and Down by a palette row; a step that would leave
// the palette goes nowhere. The focus moves, and with it the selection, as with Tab.
void FontPalette::SelFontChar_ArrowKey(int Index, Qt::Key key)
{
    int target = Index;
    switch (key) {
    case Qt::Key_Left:
        target = Index - 1;
        break;
    case Qt::Key_Right:
        target = Index + 1;
        break;
    case Qt::Key_Up:
        target = Index - CellsPerRow;
        break;
    case Qt::Key_Down:
        target = Index + CellsPerRow;
        break;
    default:
        return;
    }
    if (target < 0 || target >= CharacterCount)
        return;
    m_cells[target]->setFocus(Qt::OtherFocusReason);
}
