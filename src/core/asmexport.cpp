#include "core/asmexport.h"

namespace {
constexpr char LineBreak[] = "\r\n";
constexpr int LineLength = 63;
// Header (CR LF, "; Font: ", CR LF CR LF), 256 lines and the 255 breaks between them.
constexpr int EmptyExportSize
    = 2 + 8 + 2 + 2 + CharacterCount * LineLength + (CharacterCount - 1) * 2;

// How firmware on the 12- and 14-bit cores reads a retlw table; the README shows the code.
constexpr char Pic16Header[]
    = "; Target: pic16 (PIC10, PIC12, PIC16, PIC16F1): each byte is one retlw instruction.\r\n"
      "; Read it with a computed jump: PCLATH from the byte's full address, then PCL; the\r\n"
      "; retlw returns with the byte in W. PIC16F1 parts also read it through FSR (bit 15 "
      "set).\r\n";

// The MPLAB XC8 PIC Assembler places code and data in psects (Microchip's "MPASM to MPLAB XC8
// PIC Assembler Migration Guide", DB and DT directives; the assembler's user's guide, Psect
// directive). PIC18 data in program memory goes in a psect of class CONST in space 0, one byte
// to an address. The 12- and 14-bit cores address words of two bytes, so a psect of code there
// takes delta=2, and a dt table becomes one retlw instruction per byte. Labels end in a colon.
constexpr char PicAsHeader[]
    = "; Syntax: pic-as, the MPLAB XC8 PIC Assembler: the table is a psect of its own,\r\n"
      "; its first label GLOBAL for the modules that read it.\r\n";

QByteArray psectLine(PicTarget target)
{
    const QByteArray flags = target == PicTarget::Pic16 ? QByteArrayLiteral("class=CODE,delta=2")
                                                        : QByteArrayLiteral("class=CONST,space=0");
    return QByteArrayLiteral("\tPSECT\t") + PicAsPsect + ',' + flags + LineBreak;
}

// The header must stay one comment line: a control character in the name (a line break in a
// file name, say) would otherwise put the rest of the name into the source as code.
QByteArray headerName(const QString &name)
{
    QByteArray bytes = name.toLocal8Bit();
    for (char &byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value < 0x20 || value == 0x7F)
            byte = '?';
    }
    return bytes;
}

// "; Codes 32 to 127 only: 96 characters, 768 bytes from Char_032; subtract 32 from a code."
QByteArray rangeHeader(const AsmTable &table)
{
    const CodeRange &codes = table.codes;
    const QString units = table.target == PicTarget::Pic16 ? QStringLiteral("retlw words")
                                                           : QStringLiteral("bytes");
    QString text = codes.first == codes.last
                       ? QStringLiteral("; Code %1 only").arg(codes.first)
                       : QStringLiteral("; Codes %1 to %2 only").arg(codes.first).arg(codes.last);
    text += QStringLiteral(": %1 character%2, %3 %4 from %5")
                .arg(QString::number(codes.count()),
                     codes.count() == 1 ? QString() : QStringLiteral("s"),
                     QString::number(codes.count() * tableStride(table)), units,
                     charLabel(codes.first));
    if (codes.first > 0)
        text += QStringLiteral("; subtract %1 from a code").arg(codes.first);
    return text.toLatin1() + '.' + LineBreak;
}

// "; Layout: columns at width 5." and how its bytes hold the pixels; on a PIC18, also where the
// assembler pads a line.
QByteArray layoutHeader(const AsmTable &table)
{
    const GlyphLayout &layout = table.layout;
    QByteArray text = "; Layout: " + layoutText(layout).toLatin1() + '.' + LineBreak + "; "
                      + layoutSentence(layout).toLatin1() + LineBreak;
    if (tableStride(table) != layout.bytesPerGlyph())
        text += "; A db line fills whole program words: the assembler adds a 0x00, so each "
                "character takes "
                + QByteArray::number(tableStride(table)) + " bytes." + LineBreak;
    return text;
}
} // namespace

QString asmSyntaxName(AsmSyntax syntax)
{
    return syntax == AsmSyntax::PicAs ? QStringLiteral("pic-as") : QStringLiteral("mpasm");
}

QString picTargetName(PicTarget target)
{
    return target == PicTarget::Pic16 ? QStringLiteral("pic16") : QStringLiteral("pic18");
}

QByteArray tableDirective(PicTarget target, AsmSyntax syntax)
{
    if (syntax == AsmSyntax::PicAs)
        return target == PicTarget::Pic16 ? QByteArrayLiteral("retlw") : QByteArrayLiteral("DB");
    return target == PicTarget::Pic16 ? QByteArrayLiteral("dt") : QByteArrayLiteral("db");
}

QByteArray asmSource(const FontImage &font, const QString &fontName)
{
    const QByteArray source = asmSource(font, fontName, AsmTable {});
    Q_ASSERT(source.size() == EmptyExportSize + headerName(fontName).size());
    return source;
}

int tableStride(const AsmTable &table)
{
    const int bytes = table.layout.bytesPerGlyph();
    const bool wordPadded = table.target == PicTarget::Pic18 && table.syntax == AsmSyntax::Mpasm;
    return wordPadded ? bytes + bytes % 2 : bytes;
}

QByteArray asmSource(const FontImage &font, const QString &fontName, const AsmTable &table)
{
    const QByteArray name = headerName(fontName);
    const PicTarget target = table.target;
    const CodeRange &codes = table.codes;
    const GlyphLayout &layout = table.layout;
    const bool picAs = table.syntax == AsmSyntax::PicAs;
    QByteArray out;
    out.reserve(EmptyExportSize + name.size() + 512);
    out.append(LineBreak).append("; Font: ").append(name).append(LineBreak);
    if (picAs)
        out.append(PicAsHeader);
    if (target == PicTarget::Pic16)
        out.append(Pic16Header);
    if (!layout.isFileOrder())
        out.append(layoutHeader(table));
    if (!codes.isWhole())
        out.append(rangeHeader(table));
    out.append(LineBreak);
    if (picAs) {
        out.append("\tGLOBAL\t").append(charLabel(codes.first).toLatin1()).append(LineBreak);
        out.append(psectLine(target)).append(LineBreak);
    }
    // "Char_065\t\tdb\t" (MPASM) or "Char_065:\tDB\t" (pic-as) before a character's bytes.
    const QByteArray directive = '\t' + tableDirective(target, table.syntax) + '\t';
    for (int code = codes.first; code <= codes.last; ++code) {
        if (code > codes.first)
            out.append(LineBreak);
        const CharBitMap glyph = glyphOf(font, code);
        // In the .pf order a glyph's bytes are its rows as they are: no copy to make.
        const QByteArray laidOut = layout.isFileOrder() ? QByteArray() : glyphBytes(glyph, layout);
        const QByteArrayView bytes = layout.isFileOrder()
            ? QByteArrayView(reinterpret_cast<const char *>(glyph.data()), GlyphSize)
            : QByteArrayView(laidOut);
        appendCharLabel(out, code);
        out.append(picAs ? ':' : '\t');
        // A retlw line per byte for pic-as on the 12- and 14-bit cores, the label and the
        // character's comment on the first; else one line of the character's bytes.
        const qsizetype perLine = picAs && target == PicTarget::Pic16 ? 1 : bytes.size();
        for (qsizetype at = 0; at < bytes.size(); at += perLine) {
            if (at > 0)
                out.append(LineBreak);
            out.append(directive);
            appendHexList(out, bytes.sliced(at, perLine));
            if (at == 0)
                out.append("\t; ").append(CharDisplayText(code).toLatin1());
        }
    }
    if (picAs)
        out.append(LineBreak);
    return out;
}
