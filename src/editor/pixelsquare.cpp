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

// The square the button went down on keeps the mouse until it comes up, so the moves of a stroke
// over other squares arrive here too.
void PixelSquare::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    // A release that never came (the window lost the mouse) ends nothing here: the new press
    // starts a new stroke, and the document ends the old one first.
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = true;
    // The clicked square takes the focus, so the arrow keys go on from there.
    setFocus(Qt::MouseFocusReason);
    Q_EMIT pressed(m_index);
}

void PixelSquare::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (m_pressed)
        Q_EMIT dragged(mapToParent(event->position().toPoint()));
}

void PixelSquare::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    Q_EMIT released();
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
