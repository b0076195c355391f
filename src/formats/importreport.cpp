#include "formats/importreport.h"

#include "formats/importresult.h"

QString importReport(const ImportResult &result)
{
    const QString sources = codeSourcesText(result);
    const QString empty = emptyCodesText(result.font);
    QString report = QStringLiteral("read %1; %2%3empty codes: %4.")
                         .arg(result.description, sources,
                              sources.isEmpty() ? QString() : QStringLiteral("; "),
                              empty.isEmpty() ? QStringLiteral("none") : empty);
    for (const QString &warning : result.warnings)
        report += QLatin1Char('\n') + warning;
    return report;
}
