#include "platform/filedialogs_p.h"

#include <QDir>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>
#include <string>
#include <vector>

#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

namespace {
// Wide characters up to a NUL, as the dialog reads and writes its texts.
std::wstring wide(const QString &text)
{
    return text.toStdWString();
}

// The filter list as the dialog takes it: each shown name, a NUL, its patterns separated by ';',
// a NUL, and a second NUL at the end. "PIC Font (*.pf)" lists "*.pf".
std::wstring filterList(const QStringList &filters)
{
    std::wstring list;
    for (const QString &shown : filters) {
        const qsizetype open = shown.lastIndexOf(QLatin1Char('('));
        const qsizetype close = shown.lastIndexOf(QLatin1Char(')'));
        QString patterns = open >= 0 && close > open ? shown.mid(open + 1, close - open - 1)
                                                     : QStringLiteral("*.*");
        patterns = patterns.simplified().replace(QLatin1Char(' '), QLatin1Char(';'));
        list += wide(shown);
        list.push_back(L'\0');
        list += wide(patterns);
        list.push_back(L'\0');
    }
    list.push_back(L'\0');
    return list;
}
} // namespace

QString fallbackDialogFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

// Windows' own dialog through the common dialog functions, not QFileDialog, which writes its
// history to HKCU\Software\QtProject whenever one is destroyed, native or not.
QString showFileDialog(QWidget *parent, const FileDialogRequest &request,
                       const QString &startFolder)
{
    const std::wstring filters = filterList(request.filters);
    const std::wstring title = wide(request.title);
    const std::wstring suffix = wide(request.defaultSuffix);
    const std::wstring folder = wide(QDir::toNativeSeparators(startFolder));
    // The longest path Windows takes, with room for its NUL.
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring initial = wide(QDir::toNativeSeparators(request.initialName));
    initial.copy(file.data(), std::min(initial.size(), file.size() - 1));

    OPENFILENAMEW dialog {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = parent ? reinterpret_cast<HWND>(parent->window()->winId()) : nullptr;
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = suffix.empty() ? nullptr : suffix.c_str();
    // The working folder stays where it was, and chosen files are not added to Recent.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR
                   | OFN_DONTADDTORECENT;
    if (request.mustExist)
        dialog.Flags |= OFN_FILEMUSTEXIST;
    if (request.mode == FileDialogRequest::Mode::Save && request.confirmOverwrite)
        dialog.Flags |= OFN_OVERWRITEPROMPT;

    const BOOL chosen = request.mode == FileDialogRequest::Mode::Save ? GetSaveFileNameW(&dialog)
                                                                      : GetOpenFileNameW(&dialog);
    if (!chosen)
        return {};
    return QDir::fromNativeSeparators(QString::fromWCharArray(file.data()));
}
