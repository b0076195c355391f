#pragma once

#include <QString>
#include <QStringList>

// Starts other programs without waiting for them.
class Launcher
{
public:
    virtual ~Launcher() = default;
    // Shows a text file for reading, without waiting: in Notepad on Windows, elsewhere in the
    // desktop's default viewer for it; false when nothing could be started.
    virtual bool openFile(const QString &path) = 0;
    // Starts a program found on PATH, detached; false when it could not be started.
    virtual bool startDetached(const QString &program, const QStringList &arguments) = 0;
    // The full path of a program on PATH, or empty when there is none.
    virtual QString findProgram(const QString &name) = 0;
};

class DesktopLauncher final : public Launcher
{
public:
    bool openFile(const QString &path) override;
    bool startDetached(const QString &program, const QStringList &arguments) override;
    QString findProgram(const QString &name) override;
};
