#include "core/asmexport.h"

namespace {
constexpr char LineBreak[] = "\r\n";
constexpr int LineLength = 63;
// Header (CR LF, "; Font: ", CR LF CR LF), 256 lines and the 255 breaks between them.
constexpr int EmptyExportSize
    = 2 + 8 + 2 + 2 + CharacterCount * LineLength + (CharacterCount - 1) * 2;

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
} // namespace

QByteArray asmSource(const FontImage &font, const QString &fontName)
{
    const QByteArray name = headerName(fontName);
    QByteArray out;
    out.reserve(EmptyExportSize + name.size());
    out.append(LineBreak).append("; Font: ").append(name);
    out.append(LineBreak).append(LineBreak);
    for (int code = 0; code < CharacterCount; ++code) {
        if (code > 0)
            out.append(LineBreak);
        out.append(charLabel(code).toLatin1());
        out.append("\t\tdb\t").append(glyphBytesLatin1(glyphOf(font, code)));
        out.append("\t; ").append(CharDisplayText(code).toLatin1());
    }
    Q_ASSERT(out.size() == EmptyExportSize + name.size());
    return out;
}
