#pragma once

#include <QString>

struct ImportResult;

// What an import read, in one sentence: "read PSF 2, 8x8, 512 glyphs; charset latin1: 191 codes
// through the Unicode table, 65 without a glyph (0-31, 127-159); empty codes: 0-31." The
// companion's import prints it after the source's name.
QString importSummary(const ImportResult &result);

// The summary, then the reader's warnings, one a line.
QString importReport(const ImportResult &result);
