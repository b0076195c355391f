#include "sysinfo.h"

#include "launcher.h"

#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>

bool GetKeyValue(void *KeyRoot, const QString &KeyName, const QString &SubKeyRef, QString &KeyVal)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(static_cast<HKEY>(KeyRoot), KeyName.toLocal8Bit().constData(), 0, KEY_READ,
                      &key)
        != ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }
    char buffer[1024] = {};
    DWORD type = 0;
    DWORD length = sizeof buffer;
    const LONG status = RegQueryValueExA(key, SubKeyRef.toLocal8Bit().constData(), nullptr, &type,
                                         reinterpret_cast<LPBYTE>(buffer), &length);
    RegCloseKey(key);
    // An empty value names no tool: treat it as missing so the search goes on.
    if (status != ERROR_SUCCESS || length == 0 || type != REG_SZ) {
        KeyVal.clear();
        return false;
    }
    if (buffer[length - 1] == '\0')
        --length;
    KeyVal = QString::fromLocal8Bit(buffer, static_cast<qsizetype>(length));
    return !KeyVal.isEmpty();
}

bool startSystemInformation(Launcher &launcher)
{
    QString path;
    if (!GetKeyValue(HKEY_LOCAL_MACHINE,
                     QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                     QStringLiteral("PATH"), path)) {
        QString folder;
        if (!GetKeyValue(HKEY_LOCAL_MACHINE,
                         QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                         QStringLiteral("MSINFO"), folder))
            return false;
        path = folder + QStringLiteral("\\MSINFO32.EXE");
        if (!QFileInfo(path).isFile())
            return false;
    }
    return launcher.startDetached(path, {});
}

#else

namespace {
// Desktop system information tools, most specific first.
constexpr const char *Tools[] = {"hardinfo2", "hardinfo", "kinfocenter"};
} // namespace

bool startSystemInformation(Launcher &launcher)
{
    for (const char *tool : Tools) {
        const QString path = launcher.findProgram(QLatin1String(tool));
        if (!path.isEmpty())
            return launcher.startDetached(path, {});
    }
    return false;
}

#endif
