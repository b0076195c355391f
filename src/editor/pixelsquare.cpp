#include "editor/pixelsquare.h"

#include "core/charbitmap.h"
#include "glyphcell/glyphcolors.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

PixelSquare::PixelSquare(int index, QWidget *parent)
    : QWidget(parent)
    , m_index(index)
    , m_color(PaperRgb)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    updateAccessibleName();
}

void PixelSquare::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    updateAccessibleName();
    update();
}

void PixelSquare::updateAccessibleName()
{
    setAccessibleName(tr("Row %1, column %2: %3")
                          .arg(m_index / GlyphSize)
                          .arg(m_index % GlyphSize)
                          .arg(isInk() ? tr("ink") : tr("clear")));
}

void PixelSquare::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::WindowText));
    painter.fillRect(rect().adjusted(1, 1, -1, -1), m_color);
    if (hasFocus()) {
        // A grey inner frame shows keyboard focus on both ink and clear squares.
        painter.setPen(QPen(Qt::gray, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}

// A click is a press and a release on the same square; dragging paints nothing.
void PixelSquare::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    // The clicked square takes the focus, so the arrow keys go on from there.
    if (m_pressed)
        setFocus(Qt::MouseFocusReason);
    event->accept();
}

void PixelSquare::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        Q_EMIT clicked(m_index);
}

void PixelSquare::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        Q_EMIT clicked(m_index);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        event->accept();
        Q_EMIT arrowPressed(m_index, static_cast<Qt::Key>(event->key()));
        return;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}
