#pragma once

#include "cli/formats/importresult.h"

#include <QByteArrayView>
#include <QString>

// The kinds of source an import reads; Detect tells them apart by their content.
enum class SourceFormat { Detect, Raw, Psf, Bdf, Image };

// "raw", "psf", "bdf" or "image"; false for any other name.
bool sourceFormatFromName(const QString &name, SourceFormat &format);

// The bytes a reader may need from a source: all of it up to a limit no font comes near.
inline constexpr qsizetype MaxSourceSize = 64 * 1024 * 1024;

// Reads a font from a whole file's bytes, undoing gzip first for every format but raw. Raw takes
// the 2,048 bytes at offset; the other formats ignore it.
ImportResult importFont(QByteArrayView bytes, SourceFormat format, qint64 offset);
