#include "glyphcell/fontchar.h"

#include "glyphcell/fontcharaccessible.h"
#include "glyphcell/glyphcolors.h"

#include <QAccessible>
#include <QEvent>
#include <QKeyEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {
// Screen pixels; the 1-pixel border surrounds the picture on every side.
constexpr int PictureSize = 16;
constexpr int Border = 1;
constexpr int PackedSize = PictureSize + 2 * Border;
constexpr int PixelScale = PictureSize / GlyphSize; // each glyph pixel is a 2 x 2 block
} // namespace

FontChar::FontChar(int index, QWidget *parent)
    : QWidget(parent)
    , m_index(index)
    , m_picture(PictureSize, PictureSize, QImage::Format_RGB32)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    installFontCharAccessibleFactory();
    Clear(true);
}

void FontChar::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    QAccessible::State changed;
    changed.selected = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void FontChar::setBackColor(const QColor &color)
{
    m_backColor = color;
    fillPicture();
    PaintBitMap();
    update();
}

void FontChar::DrawChar(const CharBitMap &bitmap)
{
    Clear(false);
    m_bitmap = bitmap;
    PaintBitMap();
    update();
}

void FontChar::Clear(bool ResetBackground)
{
    m_bitmap.fill(0);
    if (ResetBackground)
        m_backColor = Qt::white;
    // A blank glyph paints no ink, so the background fill is the whole picture.
    fillPicture();
    update();
}

void FontChar::Pack()
{
    setFixedSize(PackedSize, PackedSize);
}

void FontChar::fillPicture()
{
    m_picture.fill(m_backColor);
}

// Paints ink only; erasing is the background fill's job. Bit 7 lands on x 0-1, bit 0 on x 14-15.
void FontChar::PaintBitMap()
{
    for (int row = 0; row < GlyphSize; ++row) {
        for (int column = 0; column < GlyphSize; ++column) {
            if (!(m_bitmap[row] & columnBit(column)))
                continue;
            for (int dy = 0; dy < PixelScale; ++dy) {
                auto *line = reinterpret_cast<QRgb *>(m_picture.scanLine(row * PixelScale + dy));
                for (int dx = 0; dx < PixelScale; ++dx)
                    line[column * PixelScale + dx] = InkRgb;
            }
        }
    }
}

void FontChar::paintEvent(QPaintEvent *)
{
    // The border colour fills the cell and the picture covers all but its 1-pixel edge: two
    // plain fills, cheap enough for 256 cells at start-up. The border follows the window's
    // scheme (a palette change repaints it); the picture never does.
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(GridLineRgb));
    const QRect picture(Border, Border, width() - 2 * Border, height() - 2 * Border);
    // Whole logical pixels and no smoothing keep every glyph pixel a crisp 2 x 2 block.
    painter.drawImage(picture.topLeft(), m_picture, QRect(QPoint(), picture.size()));
}

void FontChar::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    Q_EMIT gotFocus(m_index);
}

void FontChar::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        Q_EMIT clicked(m_index);
}

void FontChar::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        event->accept();
        Q_EMIT arrowPressed(m_index, static_cast<Qt::Key>(event->key()));
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
