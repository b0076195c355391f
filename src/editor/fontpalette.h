#pragma once

#include "core/charbitmap.h"
#include "core/fontimage.h"
#include "editor/formlayout.h"

#include <QList>
#include <QObject>

#include <array>

class FontChar;
class QWidget;

// The character palette: the 256 glyph cells SelFontChar(0..255) on the window's client area,
// the font they show and the selected character. A cell is selected when it takes the keyboard
// focus (a click, Tab or an arrow key); the selected cell's paper is green.
class FontPalette final : public QObject
{
    Q_OBJECT

public:
    // Creates the cells on the container at the places the window defines for them; start-up
    // packs and places them with place().
    explicit FontPalette(QWidget *container);

    FontChar *SelFontChar(int index) const { return m_cells.at(index); }
    // The cells in code order, which is their keyboard order.
    QList<QWidget *> tabChain() const;
    // Gives every cell its tooltip and its packed size and moves it to its place in the layout.
    void place(const FormLayout &layout);

    // The font as the cells show it; edits in the pixel editor reach it only through setGlyph.
    FontImage font() const { return m_font; }
    // Shows another font; the selection and its highlight stay.
    void setFont(const FontImage &font);
    void setGlyph(int code, const CharBitMap &glyph);
    // Every character blank and none selected.
    void clear();

    int SelectedIndex() const { return m_SelectedIndex; }
    // Makes the character the selected one, as its cell's taking the focus does; selecting the
    // selected character again does nothing.
    void SelFontChar_GotFocus(int Index);
    // Selects the character and gives its cell the keyboard focus. Without the focus, the cell
    // that had it would take the selection back when a dialog closes and the focus returns.
    void selectAndFocus(int code);

Q_SIGNALS:
    // Another character was selected; glyph is what its cell shows.
    void characterSelected(int code, const CharBitMap &glyph);

private:
    void SelFontChar_ArrowKey(int Index, Qt::Key key);

    std::array<FontChar *, CharacterCount> m_cells {};
    FontImage m_font {};
    int m_SelectedIndex = -1;
};
