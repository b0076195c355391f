#include "formats/characterset.h"
#include "formats/characterset_p.h"

#include <QStringList>

// Builds without iconv (Windows) know Latin-1 alone, by its common names.
bool loadCodeTable(const QString &name, CodeTable &table, QString *why)
{
    QString key = name.toUpper();
    key.remove(QLatin1Char('-')).remove(QLatin1Char('_')).remove(QLatin1Char(' '));
    static const QStringList Latin1Names {QStringLiteral("LATIN1"), QStringLiteral("L1"),
                                          QStringLiteral("ISO88591"), QStringLiteral("CP819"),
                                          QStringLiteral("IBM819")};
    if (!Latin1Names.contains(key)) {
        *why = QStringLiteral("this build knows Latin-1 (latin1) only; other character sets need "
                              "the Linux build, which has iconv");
        return false;
    }
    for (int code = 0; code < int(table.size()); ++code)
        table[static_cast<size_t>(code)] = char32_t(code);
    return true;
}
