#pragma once

#include "platform/services.h"

#include <QString>

class FileHost;

// New, Open and Save: the dialogs, reading and writing the .pf file, the failure messages and
// the window title.
class FileCommands final
{
public:
    explicit FileCommands(FileHost &host, const Services &services);

    void newFont();
    void open();
    void save();

    void resetFont();
    void updateTitle(const QString &path);
    // The file is read in full before anything changes, so a file that cannot be read costs
    // nothing: the font, the selection and the title stay as they were.
    bool loadFontFile(const QString &path);
    bool saveFontFile(const QString &path);

private:
    FileHost &m_host;
    Services m_services;
};
