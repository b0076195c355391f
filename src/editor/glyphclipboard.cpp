#include "editor/glyphclipboard.h"

std::unique_ptr<QMimeData> glyphMimeData(const CharBitMap &glyph, const QImage &picture)
{
    auto data = std::make_unique<QMimeData>();
    data->setImageData(picture);
    data->setText(glyphBytesText(glyph));
    return data;
}
