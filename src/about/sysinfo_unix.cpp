#include "about/sysinfo.h"

#include "platform/launcher.h"

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
