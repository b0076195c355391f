#pragma once

#include "core/fontimage.h"

#include <QByteArray>
#include <QString>

#include <optional>

struct FontInput
{
    FontImage font {};
    bool exactSize = true; // the file was exactly 2,048 bytes
};

// Reads a .pf font as the editor does: the first 2,048 bytes, missing bytes as zero, from the
// file or, for "-", from standard input. Warns on standard error when the font is not exactly
// 2,048 bytes; reports why and returns nothing when it cannot be read at all (missing, a
// folder, a FIFO or device, no permission).
std::optional<FontInput> readFontInput(const QString &path);

// Reads a font that is to be written back over its own file, as readFontInput() does, but
// refuses a file longer than a font (a ROM image that holds it), which writing back the font
// alone would cut short.
std::optional<FontInput> readFontToReplace(const QString &path);

// Reads at most maxBytes from the start of an input file, or of standard input for "-".
// Reports the failure naming the file.
std::optional<QByteArray> readInputStart(const QString &path, qsizetype maxBytes);

// Reads a whole input file, or standard input for "-", refusing more than maxBytes (a file
// that big is not what the command expects). Reports the failure naming the file.
std::optional<QByteArray> readWholeInput(const QString &path, qsizetype maxBytes);
