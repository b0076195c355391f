#pragma once

#include "core/fontimage.h"

#include <QByteArrayView>
#include <QMap>
#include <QString>

#include <array>

struct AsmRead
{
    FontImage font {};
    // Where each character's line is (1-based), for messages about it.
    std::array<int, CharacterCount> lineOf {};
    int errorLine = 0; // 0 when all 256 lines were read
    QString error;
};

// Reads the 256 "Char_NNN db ..." lines of an export back. Blank lines and comment lines (the
// header) are skipped; every other line must be the next character's line, in code order, with
// eight byte values. Spacing, the case of hex digits and the trailing comment may differ from
// what the export writes, since the assembler accepts them alike.
AsmRead parseAsmSource(QByteArrayView source);
// Whether the first line that is neither blank nor a comment is a character line's label.
bool looksLikeAsmSource(QByteArrayView source);

// The first code whose glyph differs, or -1.
int firstDifferentCode(const FontImage &a, const FontImage &b);
int differentCodeCount(const FontImage &a, const FontImage &b);

// Two versions of a glyph side by side, one row a line, with each row's byte and a '<' on the
// rows that differ:
//   ...##...  ...##...  0x18  0x18
QString glyphComparison(const CharBitMap &left, const CharBitMap &right, const QString &leftTitle,
                        const QString &rightTitle);

struct HexImage
{
    QMap<quint32, quint8> bytes; // address to value
    QString error;
};

// The memory image an Intel HEX file describes (data, end and address records).
HexImage parseIntelHex(QByteArrayView hex);
