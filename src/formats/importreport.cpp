#include "formats/importreport.h"

#include "formats/importresult.h"

QString importSummary(const ImportResult &result)
{
    const QString sources = codeSourcesText(result);
    const QString empty = emptyCodesText(result.font);
    return QStringLiteral("read %1; %2%3empty codes: %4.")
        .arg(result.description, sources, sources.isEmpty() ? QString() : QStringLiteral("; "),
             empty.isEmpty() ? QStringLiteral("none") : empty);
}

QString importReport(const ImportResult &result)
{
    QString report = importSummary(result);
    for (const QString &warning : result.warnings)
        report += QLatin1Char('\n') + warning;
    return report;
}
