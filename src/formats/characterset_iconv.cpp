#include "formats/characterset.h"
#include "formats/characterset_p.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {
const iconv_t NoConverter = reinterpret_cast<iconv_t>(-1);

class Converter final
{
public:
    explicit Converter(const QByteArray &from)
        : m_cd(iconv_open("UTF-32LE", from.constData()))
    { }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;
    ~Converter()
    {
        if (m_cd != NoConverter)
            iconv_close(m_cd);
    }
    bool isOpen() const { return m_cd != NoConverter; }

    // The characters one byte alone stands for; false when the byte begins a longer sequence
    // (a set of more than one byte a character).
    bool convert(unsigned char byte, char32_t &character)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr); // each code on its own, from the start
        char in = static_cast<char>(byte);
        char *inPointer = &in;
        size_t inLeft = 1;
        unsigned char out[16];
        char *outPointer = reinterpret_cast<char *>(out);
        size_t outLeft = sizeof out;
        character = CharacterSet::NoCharacter;
        if (iconv(m_cd, &inPointer, &inLeft, &outPointer, &outLeft) == size_t(-1))
            return errno != EINVAL; // EILSEQ: no character; EINVAL: an incomplete sequence
        // Sets that combine marks with their base character hold it back until told the input
        // has ended.
        iconv(m_cd, nullptr, nullptr, &outPointer, &outLeft);
        if (sizeof out - outLeft == 4)
            character = char32_t(out[0]) | char32_t(out[1]) << 8 | char32_t(out[2]) << 16
                        | char32_t(out[3]) << 24;
        return true;
    }

private:
    iconv_t m_cd;
};

bool isNameCharacter(QChar c)
{
    // What iconv's names are made of ("ISO_8859-1:1987", "IBM-1047"): no '/', which would ask for
    // transliteration, and nothing empty, which would mean the locale's set.
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')
           || QStringView(u"-_.:+()").contains(c);
}
} // namespace

bool loadCodeTable(const QString &name, CodeTable &table, QString *why)
{
    const auto unknown = [why] {
        *why = QStringLiteral("iconv knows no character set of that name; 'iconv -l' lists "
                              "them");
        return false;
    };
    if (name.isEmpty() || !std::all_of(name.begin(), name.end(), isNameCharacter))
        return unknown();
    Converter converter(name.toLatin1());
    if (!converter.isOpen())
        return unknown();
    for (int code = 0; code < int(table.size()); ++code) {
        if (!converter.convert(static_cast<unsigned char>(code),
                               table[static_cast<size_t>(code)])) {
            *why = QStringLiteral("not a single-byte character set (code %1 begins a longer "
                                  "sequence); a font's code is one byte")
                       .arg(code);
            return false;
        }
    }
    return true;
}
