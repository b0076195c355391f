#pragma once

#include "core/fontimage.h"

#include <QString>
#include <QStringList>

// What a reader made of its input: the font and a line on what it read, or why it could not.
struct ImportResult
{
    FontImage font {};
    QString description; // "PSF 2, 8x8, 512 glyphs"
    QStringList warnings;
    QString error; // empty when the font was read

    bool ok() const { return error.isEmpty(); }
    static ImportResult failure(const QString &reason);
};

// Numbers in messages, grouped the same way whatever the locale: "67,108,864".
QString numberText(qint64 value);

// The codes whose glyphs have no ink, as ranges: "0, 32, 127-160".
QString emptyCodesText(const FontImage &font);
