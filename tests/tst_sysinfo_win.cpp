#include "about/sysinfo.h"
#include "support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <windows.h>

namespace {
constexpr wchar_t ToolKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr wchar_t FolderKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";

// HKEY_LOCAL_MACHINE, for this process only, redirected to a scratch key under the user's own
// hive, so that the test neither needs nor changes the machine's registry.
class ScratchMachineKey final
{
public:
    ScratchMachineKey()
        : m_path(L"Software\\Glyphwright tests\\"
                 + QUuid::createUuid().toString(QUuid::WithoutBraces).toStdWString())
    {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &m_key, nullptr)
            == ERROR_SUCCESS)
            m_overridden = RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_key) == ERROR_SUCCESS;
    }
    ~ScratchMachineKey()
    {
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegCloseKey(m_key);
        RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
    }
    ScratchMachineKey(const ScratchMachineKey &) = delete;
    ScratchMachineKey &operator=(const ScratchMachineKey &) = delete;

    bool isActive() const { return m_overridden; }
    bool set(const wchar_t *key, const wchar_t *name, DWORD type, const QString &text)
    {
        HKEY sub = nullptr;
        if (RegCreateKeyExW(m_key, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr)
            != ERROR_SUCCESS)
            return false;
        const std::wstring value = text.toStdWString();
        const DWORD number = 1;
        const bool written
            = type == REG_DWORD
                  ? RegSetValueExW(sub, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number),
                                   sizeof number)
                        == ERROR_SUCCESS
                  : RegSetValueExW(sub, name, 0, type,
                                   reinterpret_cast<const BYTE *>(value.c_str()),
                                   DWORD((value.size() + 1) * sizeof(wchar_t)))
                        == ERROR_SUCCESS;
        RegCloseKey(sub);
        return written;
    }

private:
    std::wstring m_path;
    HKEY m_key = nullptr;
    bool m_overridden = false;
};
} // namespace

// Finding the system information tool through the two registry values that Windows keeps for it.
class TestSysInfoWin final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findsToolThroughRegistry_data();
    void findsToolThroughRegistry();
};

void TestSysInfoWin::findsToolThroughRegistry_data()
{
    QTest::addColumn<QString>("toolPath"); // the first value, PATH; empty: not there
    QTest::addColumn<int>("toolPathType"); // its registry type
    QTest::addColumn<bool>("folderGiven"); // the second value, MSINFO: the test's folder
    QTest::addColumn<bool>("toolInFolder"); // MSINFO32.EXE exists in that folder
    QTest::addColumn<bool>("starts"); // the launcher succeeds
    QTest::addColumn<QString>("started"); // what is started; FOLDER is the test's folder
    QTest::addColumn<bool>("found");

    const QString tool = QStringLiteral("C:\\Program Files\\Common Files\\Microsoft "
                                        "Shared\\MSInfo\\msinfo32.exe");
    const QString inFolder = QStringLiteral("FOLDER\\MSINFO32.EXE");
    QTest::newRow("first value, started unchecked")
        << tool << int(REG_SZ) << true << true << true << tool << true;
    QTest::newRow("first value, the start fails")
        << tool << int(REG_SZ) << false << false << false << tool << false;
    QTest::newRow("folder holding the tool")
        << QString() << int(REG_SZ) << true << true << true << inFolder << true;
    QTest::newRow("folder without the tool")
        << QString() << int(REG_SZ) << true << false << true << QString() << false;
    QTest::newRow("neither value")
        << QString() << int(REG_SZ) << false << false << true << QString() << false;
    QTest::newRow("empty first value, then the folder")
        << QStringLiteral("") << int(REG_SZ) << true << true << true << inFolder << true;
    QTest::newRow("first value not text, then the folder")
        << QStringLiteral("1") << int(REG_DWORD) << true << true << true << inFolder << true;
}

void TestSysInfoWin::findsToolThroughRegistry()
{
    QFETCH(QString, toolPath);
    QFETCH(int, toolPathType);
    QFETCH(bool, folderGiven);
    QFETCH(bool, toolInFolder);
    QFETCH(bool, starts);
    QFETCH(QString, started);
    QFETCH(bool, found);

    QTemporaryDir folder;
    const QString nativeFolder = QDir::toNativeSeparators(folder.path());
    if (toolInFolder)
        writeRaw(folder.filePath(QStringLiteral("MSINFO32.EXE")), "MZ");
    ScratchMachineKey machine;
    QVERIFY(machine.isActive());
    if (!toolPath.isNull())
        QVERIFY(machine.set(ToolKey, L"PATH", DWORD(toolPathType), toolPath));
    if (folderGiven)
        QVERIFY(machine.set(FolderKey, L"MSINFO", REG_SZ, nativeFolder));

    FakeLauncher launcher;
    launcher.startSucceeds = starts;
    QCOMPARE(startSystemInformation(launcher), found);
    QStringList programs;
    for (const auto &start : std::as_const(launcher.started))
        programs.append(start.first);
    started.replace(QStringLiteral("FOLDER"), nativeFolder);
    QCOMPARE(programs, started.isEmpty() ? QStringList() : QStringList {started});
}

QTEST_MAIN(TestSysInfoWin)
#include "tst_sysinfo_win.moc"
