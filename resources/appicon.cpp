#include "resources/appicon.h"

QIcon appIcon()
{
    // Pixel art drawn at 16 x 16; the bitmaps keep it crisp at the small sizes.
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/icons/glyphwright-%1.png").arg(size), QSize(size, size));
    return icon;
}
