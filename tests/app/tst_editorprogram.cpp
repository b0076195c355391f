#include "support/support.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

namespace {
const QString Editor = QStringLiteral(GLYPHWRIGHT_EDITOR);
} // namespace

// The editor as a program started with arguments: what it answers without opening a window.
class TestEditorProgram final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersWithoutAWindow_data();
    void answersWithoutAWindow();
};

void TestEditorProgram::answersWithoutAWindow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("display");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    // Help and version need no display: they are asked for where there may be none.
    QTest::newRow("help") << QStringList {"--help"} << false << 0 << "[FILE]"
                          << "";
    QTest::newRow("help, short") << QStringList {"-h"} << false << 0 << "--version"
                                 << "";
    QTest::newRow("help after a file")
        << QStringList {"font.pf", "--help"} << false << 0 << "[FILE]"
        << "";
    QTest::newRow("version") << QStringList {"--version"} << false << 0 << "Glyphwright 1.0."
                             << "";
    QTest::newRow("version, short") << QStringList {"-v"} << false << 0 << "Glyphwright 1.0."
                                    << "";
    QTest::newRow("a file without a display") << QStringList {"font.pf"} << false << 1 << ""
                                              << "no display";
    QTest::newRow("unknown option") << QStringList {"--bogus"} << true << 1 << ""
                                    << "Unknown option 'bogus'";
    QTest::newRow("two files") << QStringList {"a.pf", "b.pf"} << true << 1 << ""
                               << "one font file at a time";
}

void TestEditorProgram::answersWithoutAWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, display);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
#ifdef Q_OS_WIN
    QSKIP("a Windows program without a console answers in a message box");
#endif
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    if (display)
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(Editor, arguments);
    QVERIFY(finishedInTime(process));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    const QString stdOut = QString::fromUtf8(process.readAllStandardOutput());
    const QString stdErr = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(stdOut.contains(out), qPrintable(stdOut));
    QVERIFY2(stdErr.contains(err), qPrintable(stdErr));
    if (out.isEmpty())
        QCOMPARE(stdOut, QString());
}

QTEST_GUILESS_MAIN(TestEditorProgram)
#include "tst_editorprogram.moc"
