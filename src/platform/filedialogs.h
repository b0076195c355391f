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

// The desktop's dialog through QFileDialog.
class QtFileDialogs final : public FileDialogs
{
public:
    QString ask(QWidget *parent, const FileDialogRequest &request) override;
};
