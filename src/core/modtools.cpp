#include "core/modtools.h"

#include <QCoreApplication>

QString FileNameOf(const QString &path)
{
    QString name = path;
    name.replace(QLatin1Char('/'), QLatin1Char('\\'));
    name = name.mid(name.lastIndexOf(QLatin1Char('\\')) + 1);
    return name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
}

EditorTitle editorTitleFor(const QString &path)
{
    qsizetype first = 0;
    qsizetype last = path.size();
    while (first < last && path.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && path.at(last - 1) == QLatin1Char(' '))
        --last;
    const QString trimmed = path.mid(first, last - first);

    const QString base = QCoreApplication::translate("EditorTitle", "8x8 ROM Glyphwright Editor");
    EditorTitle title {FileNameOf(trimmed), base};
    if (!trimmed.isEmpty())
        title.caption += QStringLiteral(" (") + title.fileName + QLatin1Char(')');
    return title;
}
