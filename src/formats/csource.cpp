#include "formats/csource.h"

#include "core/filename.h"

#include <QStringList>

namespace {
// Words a name may not be: the keywords of C (C99 to C23) and of C++ (to C++20), with C++'s
// alternative operator spellings, since the header is included from both. Names starting with '_'
// are prefixed anyway.
constexpr const char *Keywords[] = {
    "alignas",
    "alignof",
    "and",
    "and_eq",
    "asm",
    "auto",
    "bitand",
    "bitor",
    "bool",
    "break",
    "case",
    "catch",
    "char",
    "char16_t",
    "char32_t",
    "char8_t",
    "class",
    "co_await",
    "co_return",
    "co_yield",
    "compl",
    "concept",
    "const",
    "const_cast",
    "consteval",
    "constexpr",
    "constinit",
    "continue",
    "decltype",
    "default",
    "delete",
    "do",
    "double",
    "dynamic_cast",
    "else",
    "enum",
    "explicit",
    "export",
    "extern",
    "false",
    "float",
    "for",
    "friend",
    "goto",
    "if",
    "inline",
    "int",
    "long",
    "mutable",
    "namespace",
    "new",
    "noexcept",
    "not",
    "not_eq",
    "nullptr",
    "operator",
    "or",
    "or_eq",
    "private",
    "protected",
    "public",
    "register",
    "reinterpret_cast",
    "requires",
    "restrict",
    "return",
    "short",
    "signed",
    "sizeof",
    "static",
    "static_assert",
    "static_cast",
    "struct",
    "switch",
    "template",
    "this",
    "thread_local",
    "throw",
    "true",
    "try",
    "typedef",
    "typeid",
    "typename",
    "typeof",
    "typeof_unqual",
    "union",
    "unsigned",
    "using",
    "virtual",
    "void",
    "volatile",
    "wchar_t",
    "while",
    "xor",
    "xor_eq",
};

// Nor the macros that GCC and Clang define in their default (GNU) modes without a leading '_'
// (for Linux, 32-bit x86, AVR and MinGW), which would replace the name; nor main, which GCC
// warns about as anything but a function.
constexpr const char *Reserved[]
    = {"AVR", "WIN32", "WIN64", "WINNT", "i386", "linux", "main", "unix"};

bool isIdentifierChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
}
} // namespace

QString cIdentifier(const QString &name)
{
    QString identifier;
    for (const QChar c : name)
        identifier.append(isIdentifierChar(c) ? c : QLatin1Char('_'));
    if (identifier.isEmpty())
        return QStringLiteral("font");
    bool keyword = false;
    for (const char *word : Keywords)
        keyword = keyword || identifier == QLatin1String(word);
    for (const char *word : Reserved)
        keyword = keyword || identifier == QLatin1String(word);
    if (keyword || identifier.front().isDigit() || identifier.front() == QLatin1Char('_'))
        identifier.prepend(identifier.front() == QLatin1Char('_') ? QStringLiteral("font")
                                                                  : QStringLiteral("font_"));
    return identifier;
}

namespace {
constexpr int CommentWidth = 79;

// Words of a comment, filled up to CommentWidth, each line after the first indented to stand
// under the first's text.
QByteArray filledComment(const QString &text)
{
    QByteArray out = "/*";
    int column = 2;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (column + 1 + word.size() > CommentWidth - 3 && column > 3) {
            out += "\n  ";
            column = 2;
        }
        out += ' ' + word.toLatin1();
        column += 1 + int(word.size());
    }
    return out + " */\n";
}

// How firmware reads byte i of code c's glyph: "pgm_read_byte(&font[c][i])".
QString readExpression(const QString &name, const CodeRange &codes, CStorage storage)
{
    const QString element
        = QStringLiteral("%1[%2][i]")
              .arg(name, codes.first == 0 ? QStringLiteral("c")
                                          : QStringLiteral("c - %1").arg(codes.first));
    return storage == CStorage::Progmem ? QStringLiteral("pgm_read_byte(&%1)").arg(element)
                                        : element;
}

// What the array holds and how it is laid out, above both files.
QByteArray layoutComment(const QByteArray &name, const CodeRange &codes, const GlyphLayout &layout,
                         CStorage storage)
{
    if (layout.isFileOrder() && storage == CStorage::Const) {
        const QByteArray what
            = codes.isWhole()
                  ? QByteArray("an 8x8 font of 256 characters, 8 bytes each in code order")
                  : QStringLiteral(
                        "%1 of an 8x8 font, 8 bytes each in code order; the glyph of code\n"
                        "   c is %2[c - %3]")
                        .arg(codeRangeText(codes), QString::fromLatin1(name),
                             QString::number(codes.first))
                        .toLatin1();
        return "/* " + name + ": " + what
               + "; byte 0 is\n"
                 "   the top row, bit 7 the leftmost pixel, a 1 bit is ink. */\n";
    }
    const QString identifier = QString::fromLatin1(name);
    QString text = codes.isWhole()
                       ? QStringLiteral("%1: an 8x8 font of 256 characters in code "
                                        "order")
                             .arg(identifier)
                       : QStringLiteral("%1: %2 of an 8x8 font in code order; the "
                                        "glyph of code c is %1[c - %3]")
                             .arg(identifier, codeRangeText(codes), QString::number(codes.first));
    text += QStringLiteral(". Layout %1: %2").arg(layoutText(layout), layoutSentence(layout));
    switch (storage) {
    case CStorage::Const:
        break;
    case CStorage::Progmem:
        text += QStringLiteral(" In program memory (avr-libc's PROGMEM): read byte i with %1.")
                    .arg(readExpression(identifier, codes, storage));
        break;
    case CStorage::Flash:
        text += QStringLiteral(" In program memory (avr-gcc's __flash, C only): read byte i as "
                               "%1.")
                    .arg(readExpression(identifier, codes, storage));
        break;
    }
    return filledComment(text);
}

QByteArray arrayOf(const QByteArray &name, const CodeRange &codes, const GlyphLayout &layout,
                   CStorage storage)
{
    const QByteArray type
        = storage == CStorage::Flash ? "const __flash unsigned char " : "const unsigned char ";
    return type + name + "[" + QByteArray::number(codes.count()) + "]["
           + QByteArray::number(layout.bytesPerGlyph()) + "]"
           + (storage == CStorage::Progmem ? " PROGMEM" : "");
}
} // namespace

QByteArray cHeader(const QString &identifier, const CodeRange &codes, const GlyphLayout &layout,
                   CStorage storage)
{
    const QByteArray name = identifier.toLatin1();
    const QByteArray guard = name.toUpper() + "_H";
    QByteArray header = layoutComment(name, codes, layout, storage) + "#ifndef " + guard
                        + "\n#define " + guard + "\n\n";
    if (storage == CStorage::Progmem)
        header += "#include <avr/pgmspace.h>\n\n";
    // avr-g++ has no named address spaces: say so at the include, not at every use.
    if (storage == CStorage::Flash)
        header += "#ifdef __cplusplus\n#error \"" + name
                  + " is in __flash, which avr-gcc has in C only; for C++ write it with --storage "
                    "progmem\"\n#endif\n\n";
    return header + "#ifdef __cplusplus\nextern \"C\" {\n#endif\n\nextern "
           + arrayOf(name, codes, layout, storage)
           + ";\n\n#ifdef __cplusplus\n}\n#endif\n\n#endif\n";
}

QByteArray cSource(const FontImage &font, const QString &identifier, const QString &headerFileName,
                   const CodeRange &codes, const GlyphLayout &layout, CStorage storage)
{
    const QByteArray name = identifier.toLatin1();
    // Including its own header lets the compiler check the definition against the declaration.
    QByteArray out = layoutComment(name, codes, layout, storage) + "#include \""
                     + fileNameBytes(headerFileName) + "\"\n\n"
                     + arrayOf(name, codes, layout, storage) + " = {\n";
    for (int code = codes.first; code <= codes.last; ++code) {
        // The shown character is printable ASCII or '.', so it can never close the comment.
        out += "    {" + hexListLatin1(glyphBytes(glyphOf(font, code), layout)) + "}"
               + (code < codes.last ? "," : " ") + " /* "
               + QByteArray::number(code).rightJustified(3, '0') + " "
               + CharDisplayText(code).toLatin1() + " */\n";
    }
    out += "};\n";
    return out;
}
