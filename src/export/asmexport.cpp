#include "asmexport.h"

#include <QCoreApplication>

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

void appendHex(QByteArray &out, int value)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    out.append("0x");
    out.append(Digits[(value >> 4) & 0xF]);
    out.append(Digits[value & 0xF]);
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
        out.append("Char_").append(QByteArray::number(code).rightJustified(3, '0'));
        out.append("\t\tdb\t");
        for (int row = 0; row < GlyphSize; ++row) {
            if (row > 0)
                out.append(", ");
            appendHex(out, font[code * GlyphSize + row]);
        }
        out.append("\t; ").append(CharDisplayText(code).toLatin1());
    }
    Q_ASSERT(out.size() == EmptyExportSize + name.size());
    return out;
}

FileDialogRequest exportRequest(const QString &currentFileName)
{
    const auto tr = [](const char *text) {
        return QCoreApplication::translate("AsmExport", text);
    };
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = tr("Export Font as Pic ASM");
    request.allFilesFilter = tr("All Files (*.*)");
    request.filters = {tr("PIC Assembler (*.asm)"), request.allFilesFilter};
    request.defaultSuffix = QStringLiteral("asm");
    // Appended, not replacing the extension: big.pf gives big.pf.asm.
    request.initialName = (currentFileName.isEmpty() ? QStringLiteral("font") : currentFileName)
                          + QStringLiteral(".asm");
    // A new file may be chosen, and an existing one is replaced without a question.
    request.mustExist = false;
    request.confirmOverwrite = false;
    return request;
}
