#include "export/exportcommand.h"
#include "support/support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>

namespace {
// A font whose character 65 is an A.
FontImage fontWithA()
{
    FontImage font {};
    setGlyph(font, 65, CapitalA);
    return font;
}

// The child's task: "--export PATH" exports a font holding an A to PATH and prints each message
// on a line of its own, then the file it returned and the files the viewer was asked to open.
int childMain(int, char **argv)
{
    FakeServices fakes;
    fakes.dialogs.answers = {QString::fromLocal8Bit(argv[2])};
    const std::optional<QString> written
        = exportFont(nullptr, fakes.services(), fontWithA(), QString());
    for (const ShownMessage &message : std::as_const(fakes.messages.shown))
        std::printf("message: %s\n", qPrintable(QString(message.text).replace(u'\n', u' ')));
    std::printf("written: %s\n", written ? qPrintable(*written) : "none");
    std::printf("opened: %s\n", qPrintable(fakes.launcher.opened.join(u',')));
    return 0;
}
} // namespace

// File, Export with the file dialog answered by the test: what is written and returned, what is
// proposed and what is launched.
class TestExportCommand final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void exportsFontAndOpensIt();
    void proposesFontFileName();
    void cancelWritesNothing();
    void failureKeepsExistingFileAndStartsNothing();
    void exportLeavesSpecialFilesAlone_data();
    void exportLeavesSpecialFilesAlone();

private:
    std::optional<QString> exportTo(const QString &path, const FontImage &font = fontWithA(),
                                    const QString &currentFileName = QString())
    {
        m_fakes->dialogs.answers = {path};
        return exportFont(nullptr, m_fakes->services(), font, currentFileName);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeServices> m_fakes;
};

void TestExportCommand::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_fakes = std::make_unique<FakeServices>();
}

void TestExportCommand::cleanup()
{
    m_fakes.reset();
    m_dir.reset();
}

void TestExportCommand::exportsFontAndOpensIt()
{
    const QString path = m_dir->filePath(QStringLiteral("font.asm"));
    writeRaw(path, QByteArray(40000, 'x'));
    QCOMPARE(exportTo(path), std::optional<QString>(path));

    const QByteArray source = readRaw(path);
    QCOMPARE(source.size(), 16652);
    QVERIFY(
        source.contains("Char_065\t\tdb\t0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x42, 0x00\t; A\r\n"));
    QVERIFY(
        source.contains("Char_066\t\tdb\t0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00\t; B\r\n"));
    QCOMPARE(m_fakes->launcher.opened, QStringList {path});
    QVERIFY(m_fakes->messages.shown.isEmpty());
}

void TestExportCommand::proposesFontFileName()
{
    QVERIFY(!exportTo(QString()));
    QVERIFY(exportTo(m_dir->filePath(QStringLiteral("big.pf.asm")), FontImage {},
                     QStringLiteral("big.pf")));
    QCOMPARE(m_fakes->dialogs.requests[0].initialName, QStringLiteral("font.asm"));
    QCOMPARE(m_fakes->dialogs.requests[1].initialName, QStringLiteral("big.pf.asm"));
    QVERIFY(readRaw(m_dir->filePath(QStringLiteral("big.pf.asm")))
                .startsWith("\r\n; Font: big.pf\r\n\r\n"));
}

void TestExportCommand::cancelWritesNothing()
{
    QVERIFY(!exportTo(QString()));
    QVERIFY(QDir(m_dir->path()).isEmpty());
    QVERIFY(m_fakes->launcher.opened.isEmpty());
    QVERIFY(m_fakes->messages.shown.isEmpty());
}

void TestExportCommand::failureKeepsExistingFileAndStartsNothing()
{
    // A folder in the way: the export cannot replace it.
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("taken.asm")));
    QVERIFY(!exportTo(m_dir->filePath(QStringLiteral("taken.asm"))));
    QVERIFY(!exportTo(m_dir->filePath(QStringLiteral("missing/font.asm"))));
    QCOMPARE(m_fakes->messages.shown.size(), 2);
    QVERIFY(m_fakes->messages.shown[0].text.contains(
        QDir::toNativeSeparators(m_dir->filePath(QStringLiteral("taken.asm")))));
    QVERIFY(m_fakes->messages.shown[1].text.contains(
        QDir::toNativeSeparators(m_dir->filePath(QStringLiteral("missing/font.asm")))));
    QVERIFY2(m_fakes->messages.shown[1].text.contains(QLatin1String("No such file or directory.")),
             qPrintable(m_fakes->messages.shown[1].text));
    QVERIFY(m_fakes->launcher.opened.isEmpty());
    QVERIFY(QFileInfo(m_dir->filePath(QStringLiteral("taken.asm"))).isDir());

    // A write that fails part way leaves the existing export byte for byte.
    const QString existing = m_dir->filePath(QStringLiteral("old.asm"));
    writeRaw(existing, QByteArray(3000, 'k'));
    {
        LIMIT_FILE_SIZE_OR_SKIP(10000);
        QVERIFY(!exportTo(existing));
    }
    QCOMPARE(m_fakes->messages.shown.size(), 3);
    QVERIFY2(m_fakes->messages.shown[2].text.contains(QLatin1String("File too large")),
             qPrintable(m_fakes->messages.shown[2].text));
    QCOMPARE(readRaw(existing), QByteArray(3000, 'k'));
    QVERIFY(m_fakes->launcher.opened.isEmpty());
    QCOMPARE(folderEntries(m_dir->path()), QStringList({"old.asm", "taken.asm"}));
}

void TestExportCommand::exportLeavesSpecialFilesAlone_data()
{
    addSpecialFileRows();
}

void TestExportCommand::exportLeavesSpecialFilesAlone()
{
    QFETCH(QString, kind);
    const QString path = m_dir->filePath(QStringLiteral("special.asm"));
    MAKE_SPECIAL_FILE_OR_SKIP(kind, path);
    const QStringList before = folderSnapshot(m_dir->path());
    // In a child, so that a writer that opens the FIFO and blocks fails instead of hanging.
    const ChildResult child = runChild({QStringLiteral("--export"), path}, false);
    QCOMPARE(child.exitCode, 0);
    QVERIFY2(child.output.contains("could not be written"), child.output.constData());
    QVERIFY2(child.output.contains("It is not a regular file."), child.output.constData());
    // Nothing to show in a viewer.
    QVERIFY2(child.output.endsWith("written: none\nopened: \n"), child.output.constData());
    QCOMPARE(folderSnapshot(m_dir->path()), before);
}

int main(int argc, char **argv)
{
    return testMainWithChild<TestExportCommand>(argc, argv, childMain);
}

#include "tst_exportcommand.moc"
