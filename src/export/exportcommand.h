#pragma once

#include "platform/filedialogs.h"
#include "platform/services.h"

#include <QString>

class ExportHost;

// The Export dialog; it proposes the font file's name with ".asm" appended, or "font.asm".
FileDialogRequest exportRequest(const QString &currentFileName);

// Export: asks for a file, writes the font there as assembler source, then shows it.
class ExportCommand final
{
public:
    explicit ExportCommand(ExportHost &host, const Services &services);

    void run();
    void exportAsm(const QString &path);

private:
    ExportHost &m_host;
    Services m_services;
};
