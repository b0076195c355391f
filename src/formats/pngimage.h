#pragma once

#include "formats/inkimage.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

bool isPng(QByteArrayView bytes);

// Any PNG libpng reads, reduced to ink and paper. The size is checked before the pixels are
// decoded, so that a huge picture fails early.
DecodedImage decodePng(QByteArrayView bytes, SizeCheck checkSize, InkRule rule = InkRule::Dark);

// 8-bit greyscale, black ink on white paper, no time or text chunks: the same picture gives
// the same bytes.
QByteArray encodePng(const InkImage &image);
