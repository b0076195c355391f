#include "fontfile/fontdialogs.h"
#include "platform/filedialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The real file dialog shown for a request: its settings, and the "All Files" entry.
class TestFileDialogs final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void openDialogSettingsAndAllFiles();
    void saveDialogAsksBeforeReplacing();
    void startFolder_data();
    void startFolder();
    void dialogStartsWhereTheFontIsAndWritesNoSettings();

private:
    QTemporaryDir m_config;
};

// The user's settings go here while the tests run, so that any the dialogs write show.
void TestFileDialogs::initTestCase()
{
#ifdef Q_OS_WIN
    QSKIP("Windows' own dialog answers there; it is driven from outside, under Wine");
#endif
    QVERIFY(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
}

namespace {
QStringList listedNames(QFileDialog *dialog, const QString &folder)
{
    auto *model = dialog->findChild<QFileSystemModel *>();
    const QModelIndex parent = model->index(folder);
    QStringList names;
    for (int row = 0; row < model->rowCount(parent); ++row)
        names << model->index(row, 0, parent).data().toString();
    return names;
}
} // namespace

void TestFileDialogs::openDialogSettingsAndAllFiles()
{
    QTemporaryDir dir;
    for (const char *name : {"font.pf", "README", "notes.txt"}) {
        QFile file(dir.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    FileDialogRequest request = openFontRequest();
    request.initialName = dir.filePath(QStringLiteral("font.pf"));

    QStringList fontFilter, allFilter;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        // However a check below ends, the dialog closes, so a failure never hangs the test.
        const auto close = qScopeGuard([dialog] { dialog->reject(); });
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Open PIC SSTV Font File"));
        QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(dialog->defaultSuffix(), QStringLiteral("pf"));
        QCOMPARE(dialog->nameFilters(), QStringList({"PIC Font (*.pf)", "All Files (*.*)"}));
        QTRY_VERIFY(listedNames(dialog, dir.path()).contains(QStringLiteral("font.pf")));
        fontFilter = listedNames(dialog, dir.path());

        // Choose "All Files (*.*)" as a user does, in the file type box.
        auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types);
        types->setCurrentIndex(1);
        Q_EMIT types->activated(1);
        Q_EMIT types->textActivated(types->currentText());
        QTRY_VERIFY(listedNames(dialog, dir.path()).contains(QStringLiteral("README")));
        allFilter = listedNames(dialog, dir.path());
    });
    QtFileDialogs dialogs;
    QWidget owner;
    QCOMPARE(dialogs.ask(&owner, request), QString());
    fontFilter.sort();
    allFilter.sort();
    QCOMPARE(fontFilter, QStringList {QStringLiteral("font.pf")});
    QCOMPARE(allFilter, QStringList({"README", "font.pf", "notes.txt"}));
}

void TestFileDialogs::saveDialogAsksBeforeReplacing()
{
    QTemporaryDir dir;
    FileDialogRequest request = saveFontRequest(QStringLiteral("big.pf"));
    request.initialName = dir.filePath(request.initialName);
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto close = qScopeGuard([dialog] { dialog->reject(); });
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
        QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
        close.dismiss();
        QTest::keyClick(dialog, Qt::Key_Return); // takes the proposed name
    });
    QtFileDialogs dialogs;
    QWidget owner;
    QCOMPARE(dialogs.ask(&owner, request), dir.filePath(QStringLiteral("big.pf")));
}

void TestFileDialogs::startFolder_data()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("expected");
    const QString here = QDir::tempPath();
    const QString gone = QDir::temp().filePath(QStringLiteral("no-such-folder-here"));
    QTest::newRow("the font's folder first") << here << "/" << here;
    QTest::newRow("else the last one") << "" << here << here;
    QTest::newRow("a font's folder that is gone") << gone << here << here;
    QTest::newRow("else the fallback") << ""
                                       << ""
                                       << "fallback";
    QTest::newRow("both gone") << gone << gone << "fallback";
}

void TestFileDialogs::startFolder()
{
    QFETCH(QString, font);
    QFETCH(QString, last);
    QFETCH(QString, expected);
    QCOMPARE(dialogStartFolder(font, last, QStringLiteral("fallback")), expected);
}

void TestFileDialogs::dialogStartsWhereTheFontIsAndWritesNoSettings()
{
    QTemporaryDir fontFolder, chosenFolder;
    QStringList started;
    const auto answer = [&](const QString &chosen) {
        QTimer::singleShot(0, this, [&, chosen] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto close = qScopeGuard([dialog] { dialog->reject(); });
            started << dialog->directory().absolutePath();
            if (!chosen.isEmpty()) {
                close.dismiss();
                dialog->selectFile(chosen);
                QMetaObject::invokeMethod(dialog, &QDialog::accept);
            }
        });
    };
    QtFileDialogs dialogs;
    QWidget owner;
    answer(QString());
    dialogs.ask(&owner, openFontRequest(fontFolder.path()));
    // Chosen in another folder, which the next dialog without a font's folder starts in.
    answer(chosenFolder.filePath(QStringLiteral("new.pf")));
    QCOMPARE(dialogs.ask(&owner, saveFontRequest(QString())),
             chosenFolder.filePath(QStringLiteral("new.pf")));
    answer(QString());
    dialogs.ask(&owner, openFontRequest());
    answer(QString());
    dialogs.ask(&owner, openFontRequest(fontFolder.path()));
    QCOMPARE(started, QStringList({fontFolder.path(), QDir::homePath(), chosenFolder.path(),
                                   fontFolder.path()}));
    // Qt's dialog keeps its history in the user's settings unless told otherwise.
    QCOMPARE(QDir(m_config.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList());
}

QTEST_MAIN(TestFileDialogs)
#include "tst_filedialogs.moc"
