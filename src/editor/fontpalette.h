#pragma once

#include "core/charbitmap.h"
#include "core/fontimage.h"
#include "editor/formlayout.h"

#include <QList>
#include <QObject>

#include <array>

class FontChar;
class FontDocument;
class QWidget;

// The character palette: the 256 glyph cells SelFontChar(0..255) on the window's client area,
// showing the document's font and its selected character. A cell is selected when it takes the
// keyboard focus (a click, Tab or an arrow key); the selected cell's paper is green.
class FontPalette final : public QObject
{
    Q_OBJECT

public:
    // Creates the cells on the container at the places the window defines for them; start-up
    // packs and places them with place().
    FontPalette(FontDocument *document, QWidget *container);

    FontChar *SelFontChar(int index) const { return m_cells.at(index); }
    // The cells in code order, which is their keyboard order.
    QList<QWidget *> tabChain() const;
    // Gives every cell its tooltip and its packed size and moves it to its place in the layout.
    void place(const FormLayout &layout);

    int SelectedIndex() const;
    // Makes the character the selected one, as its cell's taking the focus does; selecting the
    // selected character again does nothing.
    void SelFontChar_GotFocus(int Index);
    // Selects the character and gives its cell the keyboard focus. Without the focus, the cell
    // that had it would take the selection back when a dialog closes and the focus returns.
    void selectAndFocus(int code);

private:
    void SelFontChar_ArrowKey(int Index, Qt::Key key);
    void showGlyphs(const QList<int> &codes);
    void showSelection(int previous, int current);

    FontDocument *m_document = nullptr;
    std::array<FontChar *, CharacterCount> m_cells {};
};
