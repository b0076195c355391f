#include "about/sysinfo.h"
#include "support/support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <windows.h>

// Finding the system information tool through the two registry values Windows keeps for it,
// with HKEY_LOCAL_MACHINE of this process redirected to a scratch key of the user's, so that the
// test neither needs nor changes the machine's registry.
class TestSysInfoWin final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findsToolThroughRegistry_data();
    void findsToolThroughRegistry();
};

void TestSysInfoWin::findsToolThroughRegistry_data()
{
    QTest::addColumn<QString>("toolPath"); // the first value; null: not there
    QTest::addColumn<bool>("folderGiven"); // the second value names the test's folder
    QTest::addColumn<bool>("toolInFolder"); // which holds MSINFO32.EXE
    QTest::addColumn<bool>("starts"); // the launcher succeeds
    QTest::addColumn<QString>("started"); // FOLDER stands for the test's folder

    const QString tool = QStringLiteral("C:\\Program Files\\Common Files\\Microsoft "
                                        "Shared\\MSInfo\\msinfo32.exe");
    const QString inFolder = QStringLiteral("FOLDER\\MSINFO32.EXE");
    QTest::newRow("first value, started unchecked") << tool << true << true << true << tool;
    QTest::newRow("first value, fails to start") << tool << false << false << false << tool;
    QTest::newRow("folder holding the tool") << QString() << true << true << true << inFolder;
    QTest::newRow("folder without it") << QString() << true << false << true << QString();
    QTest::newRow("neither value") << QString() << false << false << true << QString();
    QTest::newRow("empty first value, then the folder") << "" << true << true << true << inFolder;
}

void TestSysInfoWin::findsToolThroughRegistry()
{
    QFETCH(QString, toolPath);
    QFETCH(bool, folderGiven);
    QFETCH(bool, toolInFolder);
    QFETCH(bool, starts);
    QFETCH(QString, started);

    QTemporaryDir folder;
    const QString nativeFolder = QDir::toNativeSeparators(folder.path());
    if (toolInFolder)
        writeRaw(folder.filePath(QStringLiteral("MSINFO32.EXE")), "MZ");
    const std::wstring scratch
        = L"Software\\Glyphwright tests\\" + QUuid::createUuid().toString().toStdWString();
    HKEY machine = nullptr;
    QCOMPARE(RegCreateKeyExW(HKEY_CURRENT_USER, scratch.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                             nullptr, &machine, nullptr),
             ERROR_SUCCESS);
    const auto set = [machine](const wchar_t *key, const wchar_t *name, const QString &text) {
        const std::wstring value = text.toStdWString();
        return RegSetKeyValueW(machine, key, name, REG_SZ, value.c_str(),
                               DWORD((value.size() + 1) * sizeof(wchar_t)));
    };
    const bool ready
        = RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine) == ERROR_SUCCESS
          && (toolPath.isNull()
              || set(L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", L"PATH", toolPath)
                     == ERROR_SUCCESS)
          && (!folderGiven
              || set(L"SOFTWARE\\Microsoft\\Shared Tools Location", L"MSINFO", nativeFolder)
                     == ERROR_SUCCESS);
    FakeLauncher launcher;
    launcher.startSucceeds = starts;
    const bool found = ready && startSystemInformation(launcher);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(machine);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Glyphwright tests");
    QVERIFY(ready);

    started.replace(QStringLiteral("FOLDER"), nativeFolder);
    QCOMPARE(launcher.started.size(), started.isEmpty() ? 0 : 1);
    if (!started.isEmpty())
        QCOMPARE(launcher.started.constFirst().first, started);
    QCOMPARE(found, !started.isEmpty() && starts);
}

QTEST_MAIN(TestSysInfoWin)
#include "tst_sysinfo_win.moc"
