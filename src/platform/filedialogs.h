#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// What one file dialog is to look like and accept.
struct FileDialogRequest
{
    enum class Mode { Open, Save };

    Mode mode = Mode::Open;
    QString title;
    // Shown names, each with the pattern list in brackets, e.g. "PIC Font (*.pf)".
    QStringList filters;
    // Which shown filter lists every file; its bracketed "*.*" must also match names without a dot.
    QString allFilesFilter;
    QString defaultSuffix; // without the dot
    QString initialName;
    // Where the current font is, and so where the dialog starts; empty when the font has no
    // file yet.
    QString folder;
    bool mustExist = false;
    bool confirmOverwrite = false;
};

// Asks the user for a file; an empty result means cancelled.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    virtual QString ask(QWidget *parent, const FileDialogRequest &request) = 0;
};

// The folder a dialog starts in: the current font's, else the one last chosen in this session,
// else the fallback (the user's Documents on Windows, home elsewhere); a folder that no longer
// exists is passed over. Never the program's own or the working folder.
QString dialogStartFolder(const QString &fontFolder, const QString &lastFolder,
                          const QString &fallback);

// The system's dialog: Windows' own there, Qt's own elsewhere. Neither writes any setting; the
// folder last chosen is kept for the session only.
class QtFileDialogs final : public FileDialogs
{
public:
    QString ask(QWidget *parent, const FileDialogRequest &request) override;

private:
    QString m_lastFolder;
};
