#include "core/fileio.h"
#include "support/support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <windows.h>

// Reading and replacing files on Windows: what Windows refuses (names it cannot hold, paths past
// MAX_PATH, read-only files, files another program holds) is refused with its reason before the
// old file or the folder changes; names beyond ASCII work.
class TestFileIOWin final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void refusedWithItsReason_data();
    void refusedWithItsReason();
    void readOnlyOrHeldFileIsKept();
    void replacesFileKeepingItsMarks();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFileIOWin::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestFileIOWin::refusedWithItsReason_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason"); // empty: accepted
    const QString device = QStringLiteral(" is the name of a device on Windows");
    const QString tooLong = QStringLiteral("The path is 260 characters long; Windows programs "
                                           "accept at most 259.");
    QTest::newRow("CON") << "CON"
                         << "CON" + device;
    QTest::newRow("nul with an extension") << "nul.asm"
                                           << "NUL" + device;
    QTest::newRow("LPT9, spaces before the dot") << "lpt9  .pf"
                                                 << "LPT9" + device;
    QTest::newRow("COM superscript one") << QStringLiteral("COM\u00B9.pf") << device;
    QTest::newRow("AUX within a name") << "AUXILIARY.pf" << QString();
    QTest::newRow("final dot") << "font.pf."
                               << "cannot end in a dot or a space";
    QTest::newRow("final space") << "font.pf "
                                 << "cannot end in a dot or a space";
    QTest::newRow("stream") << "font.pf:hidden"
                            << "cannot contain";
    QTest::newRow("wildcard") << "font*.pf"
                              << "cannot contain";
    // MAX_PATH counts the terminating zero; LONG stands for letters up to that length.
    QTest::newRow("259 characters") << "LONG259.pf" << QString();
    QTest::newRow("260 characters") << "LONG260.pf" << tooLong;
}

void TestFileIOWin::refusedWithItsReason()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QString folder = QDir::toNativeSeparators(m_dir->path());
    if (name.startsWith(QLatin1String("LONG"))) {
        const int length = name.mid(4, 3).toInt();
        for (; length - folder.size() > 200; folder += QStringLiteral("\\") + QString(99, u'd'))
            QVERIFY(QDir().mkdir(folder + QStringLiteral("\\") + QString(99, u'd')));
        name = QString(length - folder.size() - 4, u'n') + QStringLiteral(".pf");
    }
    const QString path = folder + QLatin1Char('\\') + name;
    const QString error = writeFileAtomically(path, pattern(2048));
    const ReadResult read = readFileStart(path, 4096);
    if (reason.isEmpty()) {
        QCOMPARE(error, QString());
        QCOMPARE(read.bytes, pattern(2048));
        return;
    }
    QVERIFY2(error.contains(reason), qPrintable(error));
    QCOMPARE(read.error, error);
    QCOMPARE(folderEntries(folder).filter(QStringLiteral(".pf")), QStringList());
}

void TestFileIOWin::readOnlyOrHeldFileIsKept()
{
    const QString font = m_dir->filePath(QStringLiteral("font.pf"));
    const std::wstring name = QDir::toNativeSeparators(font).toStdWString();
    writeRaw(font, pattern(2048));
    QVERIFY(SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_READONLY));
    QCOMPARE(writeFileAtomically(font, pattern(100)), QStringLiteral("The file is read-only."));
    QVERIFY(SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL));

    // As a program that locks its file holds it: others may read it, not change it; and held
    // without sharing at all, not even read.
    const QString inUse = QStringLiteral("The file is open in another program.");
    for (const DWORD sharing : {DWORD(FILE_SHARE_READ), DWORD(0)}) {
        const HANDLE held = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, sharing,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        QVERIFY(held != INVALID_HANDLE_VALUE);
        const QString error = writeFileAtomically(font, pattern(100));
        const ReadResult read = readFileStart(font, 4096);
        CloseHandle(held);
        QCOMPARE(error, inUse);
        QCOMPARE(read.error.isEmpty() ? read.bytes : read.error.toUtf8(),
                 sharing ? pattern(2048) : inUse.toUtf8());
    }
    QCOMPARE(readRaw(font), pattern(2048));
    QCOMPARE(folderEntries(m_dir->path()), QStringList {QStringLiteral("font.pf")});
}

void TestFileIOWin::replacesFileKeepingItsMarks()
{
    // Letters beyond ASCII in the folder and the name, a hidden mark on the old file.
    const QString name = QStringLiteral("\u65E5\u672C\u8A9E-\u03A9-caf\u00E9.pf");
    const QString folder = m_dir->filePath(QStringLiteral("Schriften \u00C4\u00D6\u00DC"));
    QVERIFY(QDir().mkdir(folder));
    const QString font = QDir::toNativeSeparators(folder + QLatin1Char('/') + name);
    writeRaw(font, pattern(5000));
    QVERIFY(SetFileAttributesW(font.toStdWString().c_str(), FILE_ATTRIBUTE_HIDDEN));
    QCOMPARE(writeFileAtomically(font, pattern(2048)), QString());
    QCOMPARE(readFileStart(font, 4096).bytes, pattern(2048));
    QVERIFY(GetFileAttributesW(font.toStdWString().c_str()) & FILE_ATTRIBUTE_HIDDEN);
    QCOMPARE(folderEntries(folder), QStringList {name});
}

QTEST_GUILESS_MAIN(TestFileIOWin)
#include "tst_fileio_win.moc"
