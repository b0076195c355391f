#pragma once

#include "core/charbitmap.h"

#include <QColor>
#include <QImage>
#include <QWidget>

// A glyph cell: owns one character's bitmap and shows it at twice its size in a 16 x 16 picture.
class FontChar final : public QWidget
{
    Q_OBJECT

public:
    explicit FontChar(int index, QWidget *parent);

    int index() const { return m_index; }

    CharBitMap BitMap() const { return m_bitmap; }
    // The persistent 16 x 16 picture, background and ink as shown now.
    QImage Picture() const { return m_picture; }
    QColor BackColor() const { return m_backColor; }
    void setBackColor(const QColor &color);
    // Screen readers announce the tooltip as the cell's description ("Char: A / 65 / 0x41"):
    // Qt's accessible widget falls back to it when no description of its own is set.
    QString ToolTip() const { return toolTip(); }
    // Whether the owner has made this the selected character; screen readers are told.
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);

    void DrawChar(const CharBitMap &bitmap);
    void Clear(bool ResetBackground = true);
    void Pack();

Q_SIGNALS:
    // The cell took the keyboard focus, by a click or by Tab.
    void gotFocus(int index);
    // The cell was clicked, also when it already held the focus.
    void clicked(int index);
    // An arrow key was pressed on the cell; where it leads is the owner's business.
    void arrowPressed(int index, Qt::Key key);

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fillPicture();
    void PaintBitMap();

    int m_index = -1;
    CharBitMap m_bitmap {};
    QColor m_backColor {Qt::white};
    bool m_selected = false;
    QImage m_picture;
};
