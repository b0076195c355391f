#include "about/sysinfo.h"

#include "platform/launcher.h"

#include <QFileInfo>

#include <windows.h>

namespace {
// Reads a string value from the registry; a value of zero length counts as not found.
bool GetKeyValue(HKEY KeyRoot, const QString &KeyName, const QString &SubKeyRef, QString &KeyVal)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(KeyRoot, KeyName.toLocal8Bit().constData(), 0, KEY_READ, &key)
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

} // namespace

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
