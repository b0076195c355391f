#pragma once

#include <QString>

#include <array>
#include <optional>

// A single-byte character set: which character each of the codes 0 to 255 is, and back. The
// tables come from iconv, so that any set it knows (cp437, koi8-r, iso8859-15, ...) can be
// named; a build without iconv knows Latin-1 alone.
class CharacterSet final
{
public:
    // A code the set gives no character.
    static constexpr char32_t NoCharacter = 0xFFFFFFFF;

    // Latin-1 (ISO 8859-1): each code is the character of its own number.
    CharacterSet();

    // The set of this name, as iconv spells it in any case; nothing, with the reason in *why
    // ("iconv knows no character set of that name; ..."), when there is none or it is not
    // single-byte.
    static std::optional<CharacterSet> named(const QString &name, QString *why);
    // The set an X font's CHARSET_REGISTRY and CHARSET_ENCODING name ("ISO8859", "5"), where
    // iconv knows it.
    static std::optional<CharacterSet> ofXRegistry(const QString &registry,
                                                   const QString &encoding);

    // The name it was asked for by: "latin1", "cp437".
    const QString &name() const { return m_name; }
    char32_t character(int code) const { return m_characters[static_cast<size_t>(code)]; }
    // The code of a character, the lowest where two have it; -1 when the set lacks it.
    int code(char32_t character) const;
    // Whether the code is a character that no lower code is: a code the set leaves undefined
    // (cp1252's 0x81), or a second code of one character, is not.
    bool hasOwnCharacter(int code) const;
    // Whether each code is the character of its own number, whatever the set was called.
    bool isLatin1() const;

private:
    QString m_name;
    std::array<char32_t, 256> m_characters {};
};

// The character a font file that is keyed by characters (a PSF's Unicode table, a BDF in
// ISO10646-1) gives a glyph whose code has no character of its own, so that the glyph is kept
// and read back at its code: U+F000 + code, which the Linux console reserves for the glyph at
// that position of its font ("direct to font"). Nothing where the code has a character of its
// own, or the set has that one.
std::optional<char32_t> positionCharacter(const CharacterSet &charset, int code);

// "U+20AC", as messages name a character.
QString unicodeName(char32_t character);
