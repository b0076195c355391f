#pragma once

#include "core/charbitmap.h"
#include "core/coderange.h"
#include "core/fontimage.h"

#include <QString>

// How check shows where a font and what it is compared with differ, glyph by glyph.

// The first code of the range whose glyph differs, or -1.
int firstDifferentCode(const FontImage &a, const FontImage &b, const CodeRange &codes = {});
int differentCodeCount(const FontImage &a, const FontImage &b, const CodeRange &codes = {});

// Two versions of a glyph side by side, one row a line, with each row's byte and a '<' on the
// rows that differ:
//   ...##...  ...##...  0x18  0x18
QString glyphComparison(const CharBitMap &left, const CharBitMap &right, const QString &leftTitle,
                        const QString &rightTitle);
