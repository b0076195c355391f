#include "editor/fontpalette.h"

#include "editor/fontdocument.h"
#include "glyphcell/fontchar.h"
#include "glyphcell/twips.h"

#include <QApplication>
#include <QWidget>

namespace {
// Twips: the palette as the window defines it, before start-up places it.
constexpr double DefinedCellPitch = 240, DefinedCellSize = 220;

const QColor SelectedColor(0x00, 0xFF, 0x00);
} // namespace

FontPalette::FontPalette(FontDocument *document, QWidget *container)
    : QObject(container)
    , m_document(document)
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
    connect(document, &FontDocument::glyphsChanged, this, &FontPalette::showGlyphs);
    connect(document, &FontDocument::selectionChanged, this, &FontPalette::showSelection);
    showGlyphs({});
    showSelection(-1, document->selected());
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

int FontPalette::SelectedIndex() const
{
    return m_document->selected();
}

void FontPalette::SelFontChar_GotFocus(int Index)
{
    m_document->select(Index);
}

void FontPalette::showGlyphs(const QList<int> &codes)
{
    if (codes.isEmpty()) {
        for (FontChar *cell : m_cells)
            cell->DrawChar(m_document->glyph(cell->index()));
        return;
    }
    for (int code : codes)
        m_cells.at(code)->DrawChar(m_document->glyph(code));
}

void FontPalette::showSelection(int previous, int current)
{
    if (previous >= 0) {
        m_cells[previous]->setBackColor(Qt::white);
        m_cells[previous]->setSelected(false);
    }
    if (current < 0)
        return;
    FontChar *cell = m_cells.at(current);
    cell->setBackColor(SelectedColor);
    cell->setSelected(true);
    // A step undone or redone selects the character it was made on. Where the keyboard is in
    // the palette it follows, so that the focus coming back later selects nothing else.
    if (auto *focused = qobject_cast<FontChar *>(QApplication::focusWidget());
        focused && focused != cell && focused->parentWidget() == cell->parentWidget())
        cell->setFocus(Qt::OtherFocusReason);
}

void FontPalette::selectAndFocus(int code)
{
    m_cells.at(code)->setFocus(Qt::OtherFocusReason);
    m_document->select(code);
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
