#include "core/fileio.h"
#include "support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <windows.h>

// Reading and replacing files on Windows: the names Windows cannot hold, files held by other
// programs or marked read-only, and paths past MAX_PATH, each refused with its reason and with
// the old file intact; and names beyond ASCII.
class TestFileIOWin final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void replacesWholeFileAndKeepsMarks();
    void namesWindowsCannotHold_data();
    void namesWindowsCannotHold();
    void pathLengthLimit_data();
    void pathLengthLimit();
    void readOnlyFileIsKept();
    void fileOpenInAnotherProgram();
    void namesBeyondAscii();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return m_dir->filePath(name); }
};

namespace {
DWORD attributesOf(const QString &path)
{
    return GetFileAttributesW(QDir::toNativeSeparators(path).toStdWString().c_str());
}
} // namespace

void TestFileIOWin::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestFileIOWin::replacesWholeFileAndKeepsMarks()
{
    const QString font = path(QStringLiteral("font.pf"));
    writeRaw(font, pattern(5000));
    const std::wstring name = QDir::toNativeSeparators(font).toStdWString();
    QVERIFY(SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_HIDDEN));
    // Backslashes, as a user types them, and forward slashes, as Qt's dialogs give them.
    QCOMPARE(writeFileAtomically(QDir::toNativeSeparators(font), pattern(2048)), QString());
    QCOMPARE(readRaw(font), pattern(2048));
    QVERIFY(attributesOf(font) & FILE_ATTRIBUTE_HIDDEN);
    QCOMPARE(writeFileAtomically(font, pattern(100)), QString());
    QCOMPARE(readRaw(font), pattern(100));
    QCOMPARE(folderEntries(m_dir->path()), QStringList {QStringLiteral("font.pf")});
}

void TestFileIOWin::namesWindowsCannotHold_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    const QString device = QStringLiteral("is the name of a device on Windows");
    QTest::newRow("CON") << "CON"
                         << "CON " + device;
    QTest::newRow("nul with an extension") << "nul.asm"
                                           << "NUL " + device;
    QTest::newRow("COM1") << "Com1.pf"
                          << "COM1 " + device;
    QTest::newRow("LPT9, spaces before the dot") << "lpt9  .pf"
                                                 << "LPT9 " + device;
    QTest::newRow("COM superscript one") << QStringLiteral("COM\u00B9.pf") << device;
    QTest::newRow("AUX in a longer name is fine") << "AUXILIARY.pf" << QString();
    QTest::newRow("final dot") << "font.pf."
                               << "cannot end in a dot or a space";
    QTest::newRow("final space") << "font.pf "
                                 << "cannot end in a dot or a space";
    QTest::newRow("stream") << "font.pf:hidden"
                            << "cannot contain";
    QTest::newRow("wildcard") << "font*.pf"
                              << "cannot contain";
}

void TestFileIOWin::namesWindowsCannotHold()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    const QString error = writeFileAtomically(path(name), pattern(2048));
    if (reason.isEmpty()) {
        QCOMPARE(error, QString());
        QCOMPARE(readFileStart(path(name), 4096).bytes, pattern(2048));
        return;
    }
    QVERIFY2(error.contains(reason), qPrintable(error));
    QCOMPARE(folderEntries(m_dir->path()), QStringList());
    QCOMPARE(readFileStart(path(name), 4096).error, error);
}

void TestFileIOWin::pathLengthLimit_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("fits");
    // MAX_PATH is 260 with the terminating zero.
    QTest::newRow("259") << 259 << true;
    QTest::newRow("260") << 260 << false;
    QTest::newRow("400") << 400 << false;
}

void TestFileIOWin::pathLengthLimit()
{
    QFETCH(int, length);
    QFETCH(bool, fits);
    QString folder = QDir::toNativeSeparators(m_dir->path());
    // Folders of 100 characters, then a file name that makes up the length.
    while (length - folder.size() > 200) {
        folder += QLatin1Char('\\') + QString(99, u'd');
        QVERIFY(QDir().mkdir(folder));
    }
    const qsizetype nameLength = length - folder.size() - 1;
    QVERIFY(nameLength > 3);
    const QString file
        = folder + QLatin1Char('\\') + QString(nameLength - 3, u'n') + QStringLiteral(".pf");
    QCOMPARE(file.size(), length);
    const QString error = writeFileAtomically(file, pattern(2048));
    if (fits) {
        QCOMPARE(error, QString());
        QCOMPARE(readFileStart(file, 4096).bytes, pattern(2048));
    } else {
        QCOMPARE(error, QStringLiteral("The path is %1 characters long; Windows programs accept "
                                       "at most 259.")
                            .arg(length));
        QCOMPARE(readFileStart(file, 4096).error, error);
        QCOMPARE(folderEntries(folder).filter(QStringLiteral(".pf")), QStringList());
    }
}

void TestFileIOWin::readOnlyFileIsKept()
{
    const QString font = path(QStringLiteral("font.pf"));
    writeRaw(font, pattern(2048));
    const std::wstring name = QDir::toNativeSeparators(font).toStdWString();
    QVERIFY(SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_READONLY));
    QCOMPARE(writeFileAtomically(font, pattern(100)), QStringLiteral("The file is read-only."));
    QCOMPARE(readRaw(font), pattern(2048));
    QCOMPARE(folderEntries(m_dir->path()), QStringList {QStringLiteral("font.pf")});
    QVERIFY(SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL));
}

void TestFileIOWin::fileOpenInAnotherProgram()
{
    const QString font = path(QStringLiteral("font.pf"));
    writeRaw(font, pattern(2048));
    const std::wstring name = QDir::toNativeSeparators(font).toStdWString();
    // As a spreadsheet or an editor that locks its file holds it: others may read, not change.
    HANDLE held = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    QVERIFY(held != INVALID_HANDLE_VALUE);
    const QString error = writeFileAtomically(font, pattern(100));
    const ReadResult read = readFileStart(font, 4096);
    CloseHandle(held);
    QCOMPARE(error, QStringLiteral("The file is open in another program."));
    QCOMPARE(read.bytes, pattern(2048));
    QCOMPARE(readRaw(font), pattern(2048));
    QCOMPARE(folderEntries(m_dir->path()), QStringList {QStringLiteral("font.pf")});

    // Held without sharing at all, it cannot even be read.
    held = CreateFileW(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
    QVERIFY(held != INVALID_HANDLE_VALUE);
    const QString readError = readFileStart(font, 4096).error;
    CloseHandle(held);
    QCOMPARE(readError, QStringLiteral("The file is open in another program."));
}

void TestFileIOWin::namesBeyondAscii()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Schriften \u00C4\u00D6\u00DC")));
    const QString name = QStringLiteral("\u65E5\u672C\u8A9E-\u03A9-caf\u00E9.pf");
    const QString font = path(QStringLiteral("Schriften \u00C4\u00D6\u00DC/") + name);
    QCOMPARE(writeFileAtomically(font, pattern(2048)), QString());
    QCOMPARE(readFileStart(font, 4096).bytes, pattern(2048));
    QCOMPARE(folderEntries(path(QStringLiteral("Schriften \u00C4\u00D6\u00DC"))),
             QStringList {name});
}

QTEST_GUILESS_MAIN(TestFileIOWin)
#include "tst_fileio_win.moc"
