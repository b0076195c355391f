#pragma once

#include "core/charbitmap.h"

#include <QWidget>

#include <array>

class FontChar;
class PixelSquare;
class QFrame;
class QLabel;
class QPushButton;

// The pixel editor: an 8 x 8 grid of squares that is the working copy of one character, its
// row values in decimal and hex, a life-size preview and the five tool buttons.
class DetailsPanel final : public QWidget
{
    Q_OBJECT

public:
    explicit DetailsPanel(QWidget *parent);

    // Toggles one square, then recomputes every row value and redraws the preview.
    void picPixel_Click(int Index);
    void ClearEditor();
    // Toggles the squares whose bits are set: on a blank grid it shows the bitmap, otherwise
    // the grid becomes the exclusive-or of the two.
    void LoadEditor(const CharBitMap &bitmap);
    void InvertEditor();

    FontChar *CurrentFontChar() const { return m_currentFontChar; }
    // The text naming the character being edited.
    void setSelectedCharText(const QString &text);

    // The focusable controls in keyboard order.
    QList<QWidget *> tabChain() const;

Q_SIGNALS:
    void applyClicked();
    void clearClicked();
    void invertClicked();
    void copyClicked();
    void pasteClicked();

protected:
    bool event(QEvent *event) override;

private:
    // Sets the panel's texts at the largest pixel size, up to the one the form was drawn for,
    // at which every text the labels and buttons can show fits them.
    void fitTexts();
    // Arrow keys move the focus among the squares and stop at the grid's edges.
    void moveSquareFocus(int index, Qt::Key key);
    QPushButton *addButton(const QString &name, const QString &caption, int topTwips,
                           void (DetailsPanel::*clicked)());
    QLabel *addLabel(const QString &name, const QString &caption, const QRect &geometry);

    QPushButton *m_btnOK = nullptr;
    QPushButton *m_btnClear = nullptr;
    QPushButton *m_btnCopy = nullptr;
    QPushButton *m_btnPaste = nullptr;
    QPushButton *m_btnInvert = nullptr;
    QFrame *m_picDetailBack = nullptr;
    std::array<PixelSquare *, GlyphSize * GlyphSize> m_picPixel {};
    FontChar *m_currentFontChar = nullptr;
    std::array<QLabel *, GlyphSize> m_lblRow {};
    std::array<QLabel *, GlyphSize> m_lblCol {};
    std::array<QLabel *, GlyphSize> m_lblDecValue {};
    std::array<QLabel *, GlyphSize> m_lblHexValue {};
    QLabel *m_lblSelectedChar = nullptr;
};
