#pragma once

#include "formats/importresult.h"

#include <QByteArrayView>

// 2,048 bytes at an offset of any file: a ROM dump, or a binary that embeds a font. The bytes
// hold everything from the file's start up to at least the end of the font.
ImportResult fontFromRaw(QByteArrayView bytes, qint64 offset);
