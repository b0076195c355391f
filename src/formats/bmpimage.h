#pragma once

#include "formats/inkimage.h"

#include <QByteArrayView>

bool isBmp(QByteArrayView bytes);

// Windows bitmaps with a BITMAPINFOHEADER (or a later, longer one): 1, 4 and 8 bits through a
// palette, uncompressed or (8 and 4 bits) run-length encoded as ImageMagick writes them by
// default, 24 and 32 bits direct (32 bits also with bit-field masks), bottom-up or top-down rows.
// Alpha counts only where a mask gives it; otherwise every pixel is opaque.
DecodedImage decodeBmp(QByteArrayView bytes, SizeCheck checkSize, InkRule rule = InkRule::Dark);
