#pragma once

#include <QColor>
#include <QWidget>

// One square of the pixel grid, showing its pixel: black is ink, white clear.
class PixelSquare final : public QWidget
{
    Q_OBJECT

public:
    explicit PixelSquare(int index, QWidget *parent);

    int index() const { return m_index; }
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    bool isInk() const { return m_color == QColor(Qt::black); }

Q_SIGNALS:
    // Space toggles the square.
    void clicked(int index);
    // The mouse button went down on the square, moved with it held (to a point in the grid's
    // coordinates, on this square or another), and came up: a stroke.
    void pressed(int index);
    void dragged(const QPoint &gridPosition);
    void released();
    // An arrow key was pressed on the square; the grid decides where the focus goes.
    void arrowPressed(int index, Qt::Key key);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void updateAccessibleName();

    int m_index = 0;
    QColor m_color;
    bool m_pressed = false;
};
