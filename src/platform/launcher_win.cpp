#include "platform/launcher.h"

#include <QDir>
#include <QProcess>

bool DesktopLauncher::openFile(const QString &path)
{
    // Notepad, whatever program .asm files are associated with: the file is shown to be read.
    QProcess notepad;
    notepad.setProgram(QStringLiteral("notepad.exe"));
    // Notepad takes the rest of its command line as one file name, quoted or not; quoted, the
    // command line reads as any other program's would.
    notepad.setNativeArguments(QLatin1Char('"') + QDir::toNativeSeparators(path)
                               + QLatin1Char('"'));
    return notepad.startDetached();
}
