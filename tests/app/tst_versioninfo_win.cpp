#include "core/version.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <string>
#include <vector>

#include <windows.h>

#include <shellapi.h>

namespace {
// One string of a program's version resource, read as Explorer's Properties dialog reads it.
QString versionString(const QString &program, const char *name)
{
    const std::wstring file = program.toStdWString();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
    if (size == 0)
        return QStringLiteral("<no version resource>");
    std::vector<char> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data()))
        return QStringLiteral("<unreadable>");
    const std::wstring key
        = L"\\StringFileInfo\\040904B0\\" + QString::fromLatin1(name).toStdWString();
    wchar_t *value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void **>(&value), &length))
        return QStringLiteral("<missing>");
    return QString::fromWCharArray(value, length > 0 ? int(length) - 1 : 0);
}
} // namespace

// What Windows shows of the two programs: their version resource and their icon.
class TestVersionInfoWin final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void versionResource_data();
    void versionResource();
};

void TestVersionInfoWin::versionResource_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("description");
    // A name, not a sentence: Task Manager and "Open with" show it as the program's name.
    QTest::newRow("editor") << QStringLiteral(GLYPHWRIGHT_EDITOR)
                            << QStringLiteral("Glyphwright font editor");
    QTest::newRow("companion") << QStringLiteral(GLYPHWRIGHT_CLI)
                               << QStringLiteral("Glyphwright command-line companion");
}

void TestVersionInfoWin::versionResource()
{
    QFETCH(QString, program);
    QFETCH(QString, description);
    QVERIFY(QFile::exists(program));
    // The texts the About box shows besides its own description.
    QCOMPARE(versionString(program, "ProductName"), QString::fromUtf8(Version::Title));
    QCOMPARE(versionString(program, "ProductVersion"), QStringLiteral("1.0.15"));
    QCOMPARE(versionString(program, "FileVersion"), QString::fromUtf8(Version::Text));
    QCOMPARE(versionString(program, "FileDescription"), description);
    QCOMPARE(versionString(program, "LegalCopyright"), QString::fromUtf8(Version::LegalNotice));
    QCOMPARE(versionString(program, "OriginalFilename"), QFileInfo(program).fileName());
    const std::wstring file = program.toStdWString();
    QVERIFY(ExtractIconExW(file.c_str(), -1, nullptr, nullptr, 0) >= 1);
}

QTEST_GUILESS_MAIN(TestVersionInfoWin)
#include "tst_versioninfo_win.moc"
