#include "formats/csource.h"

#include <array>

namespace {
// C99's keywords: a name may not be one.
constexpr std::array<const char *, 37> Keywords
    = {"auto",     "break",  "case",   "char",     "const",     "continue", "default",  "do",
       "double",   "else",   "enum",   "extern",   "float",     "for",      "goto",     "if",
       "inline",   "int",    "long",   "register", "restrict",  "return",   "short",    "signed",
       "sizeof",   "static", "struct", "switch",   "typedef",   "union",    "unsigned", "void",
       "volatile", "while",  "_Bool",  "_Complex", "_Imaginary"};

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
    if (keyword || identifier.front().isDigit() || identifier.front() == QLatin1Char('_'))
        identifier.prepend(identifier.front() == QLatin1Char('_') ? QStringLiteral("font")
                                                                  : QStringLiteral("font_"));
    return identifier;
}

QByteArray cHeader(const FontImage &font, const QString &identifier)
{
    const QByteArray name = identifier.toLatin1();
    const QByteArray guard = name.toUpper() + "_H";
    QByteArray out = "/* " + name
                     + ": an 8x8 font of 256 characters, 8 bytes each in code order; byte 0 is\n"
                       "   the top row, bit 7 the leftmost pixel, a 1 bit is ink. */\n"
                       "#ifndef "
                     + guard + "\n#define " + guard + "\n\nconst unsigned char " + name
                     + "[256][8] = {\n";
    for (int code = 0; code < CharacterCount; ++code) {
        // The shown character is printable ASCII or '.', so it can never close the comment.
        out += "    {" + glyphBytesText(glyphOf(font, code)).toLatin1() + "}"
               + (code + 1 < CharacterCount ? "," : " ") + " /* "
               + QByteArray::number(code).rightJustified(3, '0') + " "
               + CharDisplayText(code).toLatin1() + " */\n";
    }
    out += "};\n\n#endif\n";
    return out;
}
