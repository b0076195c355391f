#include "formats/characterset.h"
#include "formats/characterset_p.h"

#include <algorithm>

CharacterSet::CharacterSet()
    : m_name(QStringLiteral("latin1"))
{
    for (int code = 0; code < int(m_characters.size()); ++code)
        m_characters[static_cast<size_t>(code)] = char32_t(code);
}

std::optional<CharacterSet> CharacterSet::named(const QString &name, QString *why)
{
    CharacterSet set;
    if (!loadCodeTable(name, set.m_characters, why))
        return std::nullopt;
    set.m_name = name;
    return set;
}

std::optional<CharacterSet> CharacterSet::ofXRegistry(const QString &registry,
                                                      const QString &encoding)
{
    // iconv knows most sets by their X names ("ISO8859-5", "KOI8-R"); Microsoft's and IBM's code
    // pages by their second half ("CP1251", "CP437").
    const bool vendor = registry.compare(QLatin1String("MICROSOFT"), Qt::CaseInsensitive) == 0
                        || registry.compare(QLatin1String("IBM"), Qt::CaseInsensitive) == 0;
    QString why;
    std::optional<CharacterSet> set
        = named(vendor ? encoding : registry + QLatin1Char('-') + encoding, &why);
    if (set)
        set->m_name = registry + QLatin1Char('-') + encoding;
    return set;
}

int CharacterSet::code(char32_t character) const
{
    const auto at = std::find(m_characters.begin(), m_characters.end(), character);
    return character == NoCharacter || at == m_characters.end()
               ? -1
               : static_cast<int>(at - m_characters.begin());
}

bool CharacterSet::hasOwnCharacter(int code) const
{
    const char32_t own = character(code);
    return own != NoCharacter && this->code(own) == code;
}

std::optional<char32_t> positionCharacter(const CharacterSet &charset, int code)
{
    constexpr char32_t DirectToFont = 0xF000;
    const char32_t character = DirectToFont + char32_t(code);
    if (charset.hasOwnCharacter(code) || charset.code(character) >= 0)
        return std::nullopt;
    return character;
}

bool CharacterSet::isLatin1() const
{
    return m_characters == CharacterSet().m_characters;
}

QString unicodeName(char32_t character)
{
    return QStringLiteral("U+")
           + QString::number(static_cast<uint>(character), 16)
                 .toUpper()
                 .rightJustified(4, QLatin1Char('0'));
}
