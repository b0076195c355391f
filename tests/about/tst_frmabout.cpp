#include "about/frmabout.h"
#include "about/sysinfo.h"
#include "app/frmmain.h"
#include "platform/launcher.h"
#include "support/support.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
QString labelText(QDialog *dialog, const char *name)
{
    return dialog->findChild<QLabel *>(QLatin1String(name))->text();
}

void writeScript(const QString &path, const QByteArray &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
} // namespace

// The About box: its texts on every showing, and starting the system information tool.
class TestFrmAbout final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textsAreSetOnEveryShowing();
    void oneInstanceFromHelpAbout();
    void layoutAndKeys();
    void sysInfoStartsFirstToolFound();
    void sysInfoUnavailable_data();
    void sysInfoUnavailable();
    void realToolOnPath();

private:
    FakeServices m_fakes;
};

void TestFrmAbout::textsAreSetOnEveryShowing()
{
    QWidget owner;
    auto *about = new frmAbout(m_fakes.services(), &owner);
    for (int showing = 0; showing < 2; ++showing) {
        QStringList seen;
        QTimer::singleShot(0, about, [&] {
            seen << about->windowTitle() << labelText(about, "lblTitle")
                 << labelText(about, "lblVersion") << labelText(about, "lblDescription")
                 << labelText(about, "lblDisclaimer");
            // Spoil the texts; the next showing must set them afresh.
            for (QLabel *label : about->findChildren<QLabel *>())
                label->setText(QStringLiteral("stale"));
            about->accept();
        });
        about->showModal();
        QCOMPARE(seen.value(0), QStringLiteral("About Glyphwright"));
        QCOMPARE(seen.value(1), QStringLiteral("Glyphwright"));
        QCOMPARE(seen.value(2), QStringLiteral("Version 1.0.15"));
        QVERIFY(seen.value(3).contains(QLatin1String("8x8 fonts")));
        QVERIFY(seen.value(3).contains(QLatin1String("PIC assembler")));
        QVERIFY(seen.value(4).contains(QLatin1String("MIT")));
    }
}

void TestFrmAbout::oneInstanceFromHelpAbout()
{
    frmMain window(m_fakes.services());
    window.show();
    for (int i = 0; i < 2; ++i) {
        QTimer::singleShot(0, &window, [&] {
            auto *about = window.findChild<frmAbout *>();
            QVERIFY(about && about->isVisible() && about->isModal());
            about->reject(); // as Escape does
        });
        window.findChild<QAction *>(QStringLiteral("mnuAbout"))->trigger();
    }
    QCOMPARE(window.findChildren<frmAbout *>().size(), 1);
}

void TestFrmAbout::layoutAndKeys()
{
    QWidget owner;
    frmAbout about(m_fakes.services(), &owner);
    QCOMPARE(about.size(), QSize(382, 238));
    auto *ok = about.findChild<QPushButton *>(QStringLiteral("cmdOK"));
    auto *sysInfo = about.findChild<QPushButton *>(QStringLiteral("cmdSysInfo"));
    QCOMPARE(ok->geometry(), QRect(283, 175, 84, 23));
    QCOMPARE(sysInfo->text(), QStringLiteral("&System Info..."));
    QCOMPARE(sysInfo->shortcut(), QKeySequence(QStringLiteral("Alt+S")));
    QVERIFY(ok->isDefault());
    QCOMPARE(ok->nextInFocusChain(), sysInfo);
    QVERIFY(!about.windowIcon().isNull());
    for (QLabel *label : about.findChildren<QLabel *>())
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    // The etched rule: grey over white.
    QCOMPARE(
        about.findChild<QWidget *>(QStringLiteral("Line1(1)"))->palette().color(QPalette::Window),
        QColor(128, 128, 128));
    QCOMPARE(
        about.findChild<QWidget *>(QStringLiteral("Line1(0)"))->palette().color(QPalette::Window),
        QColor(Qt::white));
}

void TestFrmAbout::sysInfoStartsFirstToolFound()
{
#ifdef Q_OS_WIN
    QSKIP("Windows finds the tool in the registry; tst_sysinfo_win tests that");
#endif
    FakeServices fakes;
    fakes.launcher.installed = {QStringLiteral("kinfocenter"), QStringLiteral("hardinfo")};
    QWidget owner;
    frmAbout about(fakes.services(), &owner);
    about.show();
    QTest::mouseClick(about.findChild<QPushButton *>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
    QCOMPARE(fakes.launcher.started.size(), 1);
    QCOMPARE(fakes.launcher.started[0].first, QStringLiteral("/usr/bin/hardinfo"));
    QVERIFY(fakes.messages.shown.isEmpty());
    QVERIFY(about.isVisible());
}

void TestFrmAbout::sysInfoUnavailable_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<bool>("starts");
    QTest::newRow("none installed") << QStringList() << true;
    QTest::newRow("fails to start") << QStringList {"hardinfo2"} << false;
}

void TestFrmAbout::sysInfoUnavailable()
{
#ifdef Q_OS_WIN
    QSKIP("Windows finds the tool in the registry; tst_sysinfo_win tests that");
#endif
    QFETCH(QStringList, installed);
    QFETCH(bool, starts);
    FakeServices fakes;
    fakes.launcher.installed = installed;
    fakes.launcher.startSucceeds = starts;
    QWidget owner;
    frmAbout about(fakes.services(), &owner);
    about.show();
    QTest::mouseClick(about.findChild<QPushButton *>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
    QCOMPARE(fakes.messages.shown.size(), 1);
    QCOMPARE(fakes.messages.shown[0].text,
             QStringLiteral("System Information Is Unavailable At This Time"));
    QCOMPARE(fakes.messages.shown[0].title, QStringLiteral("Glyphwright"));
    QCOMPARE(fakes.messages.shown[0].icon, Messages::Icon::None);
    QVERIFY(about.isVisible());
}

void TestFrmAbout::realToolOnPath()
{
#ifdef Q_OS_WIN
    QSKIP("Windows finds the tool in the registry; tst_sysinfo_win tests that");
#endif
    QTemporaryDir dir;
    const QByteArray savedPath = qgetenv("PATH");
    const QString marker = dir.filePath(QStringLiteral("started"));
    // Lingers after leaving its mark, with its output away from the test's: the launcher must
    // not wait for it.
    writeScript(dir.filePath(QStringLiteral("hardinfo")),
                "#!/bin/sh\nexec >/dev/null 2>&1\n/usr/bin/touch '" + marker.toLocal8Bit()
                    + "'\n/bin/sleep 3\n");
    DesktopLauncher launcher;

    qputenv("PATH", dir.path().toLocal8Bit());
    QVERIFY(startSystemInformation(launcher));
    QTRY_VERIFY(QFile::exists(marker));

    writeScript(dir.filePath(QStringLiteral("hardinfo2")), "#!/no/such/interpreter\n");
    QVERIFY(!startSystemInformation(launcher));

    QTemporaryDir empty;
    qputenv("PATH", empty.path().toLocal8Bit());
    QVERIFY(!startSystemInformation(launcher));
    qputenv("PATH", savedPath);
}

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
