#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>

// One character's bitmap: byte 0 is the top row, bit 7 of each byte the leftmost pixel,
// and a 1 bit is ink. The same 8 bytes are what font files and exports hold per character.
using CharBitMap = std::array<std::uint8_t, 8>;

inline constexpr int GlyphSize = 8;
inline constexpr int CharacterCount = 256;

// Weight of column c (0 = leftmost) within a row byte.
constexpr std::uint8_t columnBit(int column)
{
    return static_cast<std::uint8_t>(0x80u >> column);
}

// The one-character text shown for a code: the character itself for printable ASCII
// (32 to 126), "." for everything else.
QString CharDisplayText(int code);

// A byte as "0x" and two upper-case hex digits: 0x00, 0x0A, 0xFF.
QString hexByte(int value);
// A number in a message, grouped the same way whatever the locale: "67,108,864".
QString numberText(qint64 value);

// The eight row bytes as an export's db line lists them: "0x18, 0x24, ..., 0x00".
QString glyphBytesText(const CharBitMap &glyph);
// The same as single-byte text, as the export writes it.
QByteArray glyphBytesLatin1(const CharBitMap &glyph);
// Any number of bytes so, as tables in other layouts list them: "0x7F, 0x09, 0x09".
QByteArray hexListLatin1(QByteArrayView bytes);
// The same, appended to text.
void appendHexList(QByteArray &text, QByteArrayView bytes);

// "Char_065": a character's label in an export, three decimal digits.
QString charLabel(int code);
void appendCharLabel(QByteArray &out, int code);

// "Char: A / 65 / 0x41": a palette cell's tooltip and the selected-character label.
QString charDescription(int code);
