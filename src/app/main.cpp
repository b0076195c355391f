#include "app/frmmain.h"
#include "core/fileio.h"
#include "core/version.h"
#include "platform/filedialogs.h"
#include "platform/launcher.h"
#include "platform/messages.h"

#include <QApplication>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {
constexpr auto NoDisplayHint = "glyphwright: no display to open the window on; start it from a "
                               "desktop session, or headless with: xvfb-run -a glyphwright\n";

QStringList startupMessages;

// Qt ends the process with abort() (and a core dump) when it cannot open the display, after
// several lines of its own; this says it in one line and exits cleanly instead.
void holdStartupMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fputs(NoDisplayHint, stderr);
        std::_Exit(EXIT_FAILURE);
    }
    startupMessages.append(message);
}
} // namespace

int main(int argc, char *argv[])
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fputs(NoDisplayHint, stderr);
        return EXIT_FAILURE;
    }
    // A write past the file-size limit must fail with an error the user sees, not kill us.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    removeTemporaryFilesOnSignals();

    const QtMessageHandler previous = qInstallMessageHandler(holdStartupMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
    for (const QString &message : std::as_const(startupMessages))
        std::fprintf(stderr, "%s\n", qPrintable(message));
    QApplication::setApplicationName(QString::fromUtf8(Version::Title));
    QApplication::setApplicationVersion(QString::fromUtf8(Version::Text));
    // Ties the window to its desktop entry (and icon) on Wayland and in task bars.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.glyphwright.Glyphwright"));

    QtFileDialogs fileDialogs;
    QtMessages messages;
    DesktopLauncher launcher;
    frmMain window(Services {&fileDialogs, &messages, &launcher});
    window.show();
    return QApplication::exec();
}
