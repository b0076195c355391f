#pragma once

#include "core/asmexport.h"
#include "core/coderange.h"
#include "core/fontimage.h"
#include "core/glyphlayout.h"

#include <QByteArrayView>
#include <QMap>
#include <QString>

#include <array>
#include <optional>

struct AsmRead
{
    FontImage font {}; // the codes outside the table are blank
    // Where each character's line is (1-based), for messages about it.
    std::array<int, CharacterCount> lineOf {};
    CodeRange codes; // the lowest and highest label in the source
    PicTarget target = PicTarget::Pic18; // by the lines' directive, db or dt
    int errorLine = 0; // 0 when all the lines were read
    QString error;
};

// Reads the "Char_NNN db ..." (or "dt", the pic16 target's) lines of an export back. Blank lines
// and comment lines (the header) are skipped; every other line must be the next character's
// line, in code order, with eight byte values, and all use the same directive. Spacing, case and
// the trailing comment may differ from what the export writes, since the assembler accepts them
// alike. The lines must hold exactly the expected codes (by default all 256); without expected
// codes, any run of codes is read. Each line holds the glyph's bytes in the layout, and only bits
// that are pixels of it.
AsmRead parseAsmSource(QByteArrayView source, std::optional<CodeRange> expected = CodeRange {},
                       const GlyphLayout &layout = {});
// Whether the first line that is neither blank nor a comment is a character line's label.
bool looksLikeAsmSource(QByteArrayView source);

// The first code of the range whose glyph differs, or -1.
int firstDifferentCode(const FontImage &a, const FontImage &b, const CodeRange &codes = {});
int differentCodeCount(const FontImage &a, const FontImage &b, const CodeRange &codes = {});

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

// A processor's core, as the assembler's output tells it: PIC18 memory holds bytes; the 12- and
// 14-bit cores hold words, each two bytes of the hex file, low byte first.
enum class PicCore { Bits12, Bits14, Pic18 };

// The core whose "retlw 0x5A" assembles to this word (hex bytes 0 and 1, low byte first), or
// nothing for a core the tables are not written for.
std::optional<PicCore> picCoreOfRetlw(quint16 word);
// "a PIC18", "a 14-bit core", for messages.
QString picCoreText(PicCore core);
// The family whose tables a core reads.
PicTarget targetOfCore(PicCore core);

// The program memory, in the core's units (words, or bytes on a PIC18), that gpasm's processor
// properties ("gpasm -s -p NAME") give for one processor; nothing when they give none.
std::optional<qint64> programMemorySize(QByteArrayView properties);

struct AssembledFont
{
    FontImage font {}; // the codes outside the range are blank
    QString error;
};

// What firmware reads from a table of the range's characters assembled at address 0: on a PIC18
// the bytes; on the 12- and 14-bit cores the low eight bits of each word, every one of which must
// be a retlw (0x34kk on 14-bit cores, 0x8kk on 12-bit ones). Memory outside the table, or a table
// shorter than the range, is an error. Each character takes tableStride() units, its bytes in
// the layout.
AssembledFont assembledFont(const HexImage &hex, PicCore core, const CodeRange &codes,
                            const GlyphLayout &layout = {});
