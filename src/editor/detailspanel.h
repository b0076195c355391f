#pragma once

#include "core/charbitmap.h"

#include <QWidget>

#include <array>

class FontChar;
class FontDocument;
class PixelSquare;
class QFrame;
class QLabel;
class QPushButton;

// The pixel editor: an 8 x 8 grid of squares showing the document's working copy of one
// character, its row values in decimal and hex, a life-size preview and the five tool buttons.
// A click on a square, Space on it or a stroke painted across the squares changes the document.
class DetailsPanel final : public QWidget
{
    Q_OBJECT

public:
    DetailsPanel(FontDocument *document, QWidget *parent);

    FontChar *CurrentFontChar() const { return m_currentFontChar; }

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
    // Draws the squares, the row values, the preview and the name from the document.
    void showEditor();
    void strokeTo(const QPoint &gridPosition);
    // Sets the panel's texts at the largest pixel size, up to the one the form was drawn for,
    // at which every text the labels and buttons can show fits them.
    void fitTexts();
    // Arrow keys move the focus among the squares and stop at the grid's edges.
    void moveSquareFocus(int index, Qt::Key key);
    QPushButton *addButton(const QString &name, const QString &caption, int topTwips,
                           void (DetailsPanel::*clicked)());
    QLabel *addLabel(const QString &name, const QString &caption, const QRect &geometry);

    FontDocument *m_document = nullptr;
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
