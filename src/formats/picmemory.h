#pragma once

#include "core/asmexport.h"
#include "core/coderange.h"
#include "core/fontimage.h"
#include "core/glyphlayout.h"

#include <QByteArrayView>
#include <QMap>
#include <QString>

#include <optional>

// What a PIC's program memory holds once an assembler has made it of a table: the Intel HEX
// file gpasm writes, the core that tells how the memory reads, and the font firmware reads back.

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
