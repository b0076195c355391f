#pragma once

#include "core/coderange.h"
#include "core/fontimage.h"

#include <QList>
#include <QString>
#include <QStringList>

struct FontFormat;

// What a reader made of its input: the font and a line on what it read, or why it could not.
struct ImportResult
{
    FontImage font {};
    QString description; // "PSF 2, 8x8, 512 glyphs"
    QStringList warnings;
    QString error; // empty when the font was read

    // How the codes found their glyphs, for the report: through a key (the font's Unicode table
    // or encoding, at the character each code is in the character set), by position, or not at
    // all (a code no glyph covers, left blank).
    QString charset; // the set the key was read with ("latin1"); empty when none was used
    QString key; // "through the Unicode table", "as the font numbers them"
    int keyed = 0;
    int byPosition = 0;
    QList<int> uncovered;
    // Codes whose glyph reached outside the 8x8 cell and lost the ink there (a scalable font
    // drawn at a size too large for some characters).
    QList<int> clipped;
    // What would read the source, or read it better: the error or a warning says it in the font's
    // words, and the caller may name what gives it, as the companion names its option; the editor's
    // Import dialog shows the control beside the message. A scalable font read without the size
    // to draw it at, a PSF whose Unicode table cannot serve, a sheet that may be drawn the other
    // way round.
    enum class Remedy { None, Size, ByPosition, CharsetOrByPosition, LightInk, DarkInk };
    Remedy remedy = Remedy::None;

    const FontFormat *format = nullptr; // the format read, as readFont() found it
    bool unrecognised = false; // no format was named, and the content told none

    bool ok() const { return error.isEmpty(); }
    static ImportResult failure(const QString &reason);
};

// The codes whose glyphs have no ink, as ranges.
QString emptyCodesText(const FontImage &font);
// Where the codes came from: "charset latin1: 191 codes through the Unicode table, 65 without a
// glyph (0-31, 127-159)", "256 codes by position".
QString codeSourcesText(const ImportResult &result);
