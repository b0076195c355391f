#include "formats/characterset.h"
#include "formats/characterset_p.h"

#include <QRegularExpression>

#include <windows.h>

// Windows has no iconv; its own code pages convert instead. Only the names are mapped here, to
// Windows' code page numbers; the characters come from Windows.
namespace {
// The code page a name means, as iconv spells the common ones ("cp437", "ISO8859-15",
// "KOI8-R", "windows-1252", "latin1"), or 0.
UINT codePageNamed(const QString &name)
{
    QString key = name.toUpper();
    key.remove(QLatin1Char('_')).remove(QLatin1Char(' '));
    const struct
    {
        const char *name;
        UINT codePage;
    } named[] = {{"LATIN1", 28591},    {"L1", 28591},  {"KOI8-R", 20866}, {"KOI8-U", 21866},
                 {"MACINTOSH", 10000}, {"MAC", 10000}, {"ASCII", 20127},  {"US-ASCII", 20127},
                 {"UTF-8", 65001},     {"UTF8", 65001}};
    for (const auto &entry : named) {
        if (key == QLatin1String(entry.name))
            return entry.codePage;
    }
    static const QRegularExpression iso(QStringLiteral("^ISO-?8859-(\\d{1,2})$"));
    if (const QRegularExpressionMatch match = iso.match(key); match.hasMatch()) {
        const int part = match.captured(1).toInt();
        return part >= 1 && part <= 16 ? UINT(28590 + part) : 0;
    }
    static const QRegularExpression numbered(QStringLiteral("^(?:CP|IBM|WINDOWS-|MS)(\\d{3,5})$"));
    if (const QRegularExpressionMatch match = numbered.match(key); match.hasMatch())
        return match.captured(1).toUInt();
    return 0;
}
} // namespace

bool loadCodeTable(const QString &name, CodeTable &table, QString *why)
{
    const UINT codePage = codePageNamed(name);
    CPINFO info {};
    if (codePage == 0 || !IsValidCodePage(codePage) || !GetCPInfo(codePage, &info)) {
        *why = QStringLiteral("Windows knows no character set of that name; it knows latin1, "
                              "cp437, cp850, cp1252, koi8-r, iso8859-15 and the other code pages "
                              "by their numbers");
        return false;
    }
    if (info.MaxCharSize != 1) {
        *why = QStringLiteral("not a single-byte character set; a font's code is one byte");
        return false;
    }
    // Windows' own code pages (874, 1250 to 1258) pass the bytes they leave undefined through
    // as the C1 control of the same number, where iconv, and the sets' definitions, give them
    // no character; the ISO 8859 sets define 0x80 to 0x9F as those controls.
    const bool isoSet = codePage >= 28591 && codePage <= 28606;
    for (int code = 0; code < int(table.size()); ++code) {
        const char byte = static_cast<char>(code);
        wchar_t characters[2] = {};
        // A byte the set has no character for is an error, not Windows' best guess.
        const int count
            = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, &byte, 1, characters, 2);
        const bool passedThrough
            = !isoSet && code >= 0x80 && code <= 0x9F && characters[0] == wchar_t(code);
        table[static_cast<size_t>(code)]
            = count == 1 && !passedThrough ? char32_t(characters[0]) : CharacterSet::NoCharacter;
    }
    return true;
}
