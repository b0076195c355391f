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
QByteArray rangeHeader(PicTarget target, const CodeRange &codes, const GlyphLayout &layout)
{
    const QString units
        = target == PicTarget::Pic16 ? QStringLiteral("retlw words") : QStringLiteral("bytes");
    QString text = codes.first == codes.last
                       ? QStringLiteral("; Code %1 only").arg(codes.first)
                       : QStringLiteral("; Codes %1 to %2 only").arg(codes.first).arg(codes.last);
    text += QStringLiteral(": %1 character%2, %3 %4 from %5")
                .arg(QString::number(codes.count()),
                     codes.count() == 1 ? QString() : QStringLiteral("s"),
                     QString::number(codes.count() * tableStride(target, layout)), units,
                     charLabel(codes.first));
    if (codes.first > 0)
        text += QStringLiteral("; subtract %1 from a code").arg(codes.first);
    return text.toLatin1() + '.' + LineBreak;
}

// "; Layout: columns at width 5." and how its bytes hold the pixels; on a PIC18, also where the
// assembler pads a line.
QByteArray layoutHeader(PicTarget target, const GlyphLayout &layout)
{
    QByteArray text = "; Layout: " + layoutText(layout).toLatin1() + '.' + LineBreak + "; "
                      + layoutSentence(layout).toLatin1() + LineBreak;
    if (tableStride(target, layout) != layout.bytesPerGlyph())
        text += "; A db line fills whole program words: the assembler adds a 0x00, so each "
                "character takes "
                + QByteArray::number(tableStride(target, layout)) + " bytes." + LineBreak;
    return text;
}
} // namespace

QString picTargetName(PicTarget target)
{
    return target == PicTarget::Pic16 ? QStringLiteral("pic16") : QStringLiteral("pic18");
}

std::optional<PicTarget> picTargetNamed(QStringView name)
{
    for (const PicTarget target : {PicTarget::Pic18, PicTarget::Pic16}) {
        if (name.compare(picTargetName(target), Qt::CaseInsensitive) == 0)
            return target;
    }
    return std::nullopt;
}

QByteArray tableDirective(PicTarget target)
{
    return target == PicTarget::Pic16 ? QByteArrayLiteral("dt") : QByteArrayLiteral("db");
}

QByteArray asmSource(const FontImage &font, const QString &fontName)
{
    const QByteArray source = asmSource(font, fontName, PicTarget::Pic18, CodeRange {});
    Q_ASSERT(source.size() == EmptyExportSize + headerName(fontName).size());
    return source;
}

int tableStride(PicTarget target, const GlyphLayout &layout)
{
    const int bytes = layout.bytesPerGlyph();
    return target == PicTarget::Pic18 ? bytes + bytes % 2 : bytes;
}

QByteArray asmSource(const FontImage &font, const QString &fontName, PicTarget target,
                     const CodeRange &codes, const GlyphLayout &layout)
{
    const QByteArray name = headerName(fontName);
    QByteArray out;
    out.reserve(EmptyExportSize + name.size() + 512);
    out.append(LineBreak).append("; Font: ").append(name).append(LineBreak);
    if (target == PicTarget::Pic16)
        out.append(Pic16Header);
    if (!layout.isFileOrder())
        out.append(layoutHeader(target, layout));
    if (!codes.isWhole())
        out.append(rangeHeader(target, codes, layout));
    out.append(LineBreak);
    const QByteArray directive = "\t\t" + tableDirective(target) + '\t';
    for (int code = codes.first; code <= codes.last; ++code) {
        if (code > codes.first)
            out.append(LineBreak);
        out.append(charLabel(code).toLatin1());
        const CharBitMap glyph = glyphOf(font, code);
        out.append(directive).append(layout.isFileOrder() ? glyphBytesLatin1(glyph)
                                                          : hexListLatin1(glyphBytes(glyph, layout)));
        out.append("\t; ").append(CharDisplayText(code).toLatin1());
    }
    return out;
}
