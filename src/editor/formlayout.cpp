#include "editor/formlayout.h"

#include <cmath>

namespace {
constexpr int PackedCellPixels = 18;
constexpr int GapPixels = 1;
constexpr int PanelGapPixels = 10;
} // namespace

FormLayout layoutForm(double twipsPerPixelX, double twipsPerPixelY, QSizeF panelSize)
{
    FormLayout layout;
    // A packed cell's size is computed in single precision, as the cell itself does.
    const double cellWidth = static_cast<float>(twipsPerPixelX) * PackedCellPixels;
    const double cellHeight = static_cast<float>(twipsPerPixelY) * PackedCellPixels;

    // Each cell is placed from the one before it (or the one above, at a row start).
    for (int i = 0; i < CharacterCount; ++i) {
        QRectF cell(0, 0, cellWidth, cellHeight);
        if (i % CellsPerRow != 0) {
            const QRectF &previous = layout.cells[i - 1];
            cell.moveTo(previous.left() + previous.width() + GapPixels * twipsPerPixelX,
                        previous.top());
        } else if (i > 0) {
            const QRectF &above = layout.cells[i - CellsPerRow];
            cell.moveTo(0, above.top() + above.height() + GapPixels * twipsPerPixelY);
        }
        layout.cells[i] = cell;
    }

    const QRectF &lastOfFirstRow = layout.cells[CellsPerRow - 1];
    layout.clientWidth = std::round(lastOfFirstRow.left() + lastOfFirstRow.width());
    if (layout.clientWidth < panelSize.width())
        layout.clientWidth = panelSize.width();

    const QRectF &last = layout.cells[CharacterCount - 1];
    layout.panelPos = QPointF((layout.clientWidth - panelSize.width()) / 2,
                              last.top() + last.height() + PanelGapPixels * twipsPerPixelY);
    layout.clientHeight = layout.panelPos.y() + panelSize.height();
    return layout;
}
