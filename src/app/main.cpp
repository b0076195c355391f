#include "app/frmmain.h"
#include "core/fileio.h"
#include "core/filename.h"
#include "core/version.h"
#include "platform/filedialogs.h"
#include "platform/launcher.h"
#include "platform/messages.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMetaObject>
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

class EditorCommandLine final
{
    Q_DECLARE_TR_FUNCTIONS(EditorCommandLine)

public:
    static void describe(QCommandLineParser &parser)
    {
        parser.setApplicationDescription(
            tr("Edits fonts of 256 characters of 8 x 8 pixels, the character ROM of a PIC "
               "microcontroller."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addPositionalArgument(QStringLiteral("FILE"),
                                     tr("A font to open: a .pf file, or a font of another format "
                                        "that glyphwright-cli import "
                                        "reads."),
                                     QStringLiteral("[FILE]"));
    }
    static QString tooManyFiles() { return tr("one font file at a time"); }
};

void setApplicationNames()
{
    QCoreApplication::setApplicationName(QString::fromUtf8(Version::Title));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(Version::Text));
}

// --help and --version answer without a display: Qt prints them (or, for a Windows program
// started without a console, shows them in a message box) and ends the process.
void answerHelpOrVersion(int &argc, char **argv)
{
    const QStringList arguments = commandLineArguments(argc, argv);
    QCommandLineParser parser;
    EditorCommandLine::describe(parser);
    // Options of Qt's own, such as -platform, are unknown here; what matters is whether help or
    // the version was asked for.
    parser.parse(arguments);
    if (!parser.isSet(QStringLiteral("help")) && !parser.isSet(QStringLiteral("help-all"))
        && !parser.isSet(QStringLiteral("version")))
        return;
    QCoreApplication app(argc, argv);
    setApplicationNames();
    parser.process(arguments);
}
} // namespace

int main(int argc, char *argv[])
{
    answerHelpOrVersion(argc, argv);
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
    setApplicationNames();
    // Ties the window to its desktop entry (and icon) on Wayland and in task bars.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.glyphwright.Glyphwright"));

    QtFileDialogs fileDialogs;
    QtMessages messages;
    DesktopLauncher launcher;
    // QApplication has taken its own options out of argv; the rest are ours.
    QCommandLineParser parser;
    EditorCommandLine::describe(parser);
    parser.process(commandLineArguments(argc, argv));
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                     qPrintable(EditorCommandLine::tooManyFiles()));
        return EXIT_FAILURE;
    }

    frmMain window(Services {&fileDialogs, &messages, &launcher});
    window.show();
    // Once the window is up, so that a message about the file has it as its parent.
    if (!files.isEmpty())
        QMetaObject::invokeMethod(
            &window, [&window, file = files.constFirst()] { window.openFile(file); },
            Qt::QueuedConnection);
    return QApplication::exec();
}
