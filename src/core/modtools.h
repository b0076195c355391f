#pragma once

#include <QString>

// The name part of a path: after the last slash or backslash, then after the last colon.
// "C:\Fonts\big.pf", "/home/u/big.pf" and "C:big.pf" all give "big.pf".
QString FileNameOf(const QString &path);

struct EditorTitle
{
    QString fileName;
    QString caption;
};

// The window caption for a font file path, and the file name it shows. Only spaces are trimmed;
// a path that names no file (ends in a separator) still shows empty brackets.
EditorTitle editorTitleFor(const QString &path);
