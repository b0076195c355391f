#include "fontdialogs/exportasdialog.h"
#include "support/formatfixtures.h"
#include "support/support.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
// The companion's output for the same font file and choices, or why there is none.
QString runCompanion(const QStringList &arguments, const QString &folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(GLYPHWRIGHT_CLI), arguments);
    if (!finishedInTime(process))
        return QStringLiteral("the companion hung");
    return process.exitCode() == 0 ? QString() : QString::fromUtf8(process.readAllStandardError());
}

QByteArray fileBytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void choose(ExportAsDialog &dialog, const QString &control, const QString &value)
{
    QWidget *field = dialog.findChild<QWidget *>(control);
    QVERIFY2(field && !field->isHidden(), qPrintable(control));
    if (auto *edit = qobject_cast<QLineEdit *>(field))
        edit->setText(value);
    else if (auto *spin = qobject_cast<QSpinBox *>(field))
        spin->setValue(value.toInt());
    else if (auto *combo = qobject_cast<QComboBox *>(field); combo && combo->isEditable())
        combo->setCurrentText(value);
    else if (combo)
        combo->setCurrentIndex(combo->findData(value) >= 0 ? combo->findData(value)
                                                           : value.toInt());
}
} // namespace

// Export As writes the companion's bytes for the same choices, all or nothing.
class TestExportAsDialog final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void bytesAreTheCompanions_data();
    void bytesAreTheCompanions();
    void failureKeepsTheDialogAndTheFiles();
    void suffixFollowsTheFormat();
    void choicesComeBack();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    FakeServices m_fakes;
};

void TestExportAsDialog::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_fakes.messages.shown.clear();
}

void TestExportAsDialog::bytesAreTheCompanions_data()
{
    QTest::addColumn<QStringList>("choices"); // control, value, ...
    QTest::addColumn<QString>("output"); // the file named; every file written is compared
    QTest::addColumn<QStringList>("companion");
    QTest::newRow("pic18 db") << QStringList {"cmbFormat", "asm"} << "out.asm"
                              << QStringList {"export", "big.pf", "-o", "OUT"};
    // Index 1 of the target box is pic16.
    QTest::newRow("pic16 dt, printable ASCII")
        << QStringList {"cmbFormat", "asm", "cmbTarget", "1", "txtCodes", "32-127"} << "out.asm"
        << QStringList {"export", "big.pf", "-o", "OUT", "--target", "pic16", "--codes", "32-127"};
    QTest::newRow("C pair named") << QStringList {"cmbFormat", "c",        "txtName",
                                                  "osd",       "txtCodes", "0x20-0x7E"}
                                  << "out.c"
                                  << QStringList {"convert", "big.pf", "-o",      "OUT",
                                                  "--name",  "osd",    "--codes", "0x20-0x7E"};
    // Index 2 of the layout box is columns, 1 of the syntax box pic-as, 1 of storage PROGMEM.
    QTest::newRow("pic-as columns at 5")
        << QStringList {"cmbFormat", "asm", "cmbSyntax", "1", "cmbLayout", "2", "spnWidth", "5"}
        << "out.asm"
        << QStringList {"export", "big.pf", "-o",     "OUT",     "--syntax",
                        "pic-as", "--layout", "columns", "--width", "5"};
    QTest::newRow("C pair in PROGMEM, rows at 5")
        << QStringList {"cmbFormat", "c", "cmbStorage", "1", "spnWidth", "5"} << "out.h"
        << QStringList {"convert", "big.pf", "-o", "OUT", "--storage", "progmem", "--width", "5"};
    QTest::newRow("raw in columns")
        << QStringList {"cmbFormat", "raw", "cmbLayout", "2"} << "out.bin"
        << QStringList {"convert", "big.pf", "-o", "OUT", "--layout", "columns"};
    QTest::newRow("psf") << QStringList {"cmbFormat", "psf"} << "out.psf"
                         << QStringList {"convert", "big.pf", "-o", "OUT"};
    QTest::newRow("bdf named, subset")
        << QStringList {"cmbFormat", "bdf", "txtName", "Tiny", "txtCodes", "48-57"} << "out.bdf"
        << QStringList {"convert", "big.pf", "-o", "OUT", "--name", "Tiny", "--codes", "48-57"};
    QTest::newRow("png at 3") << QStringList {"cmbFormat", "png", "spnScale", "3"} << "out.png"
                              << QStringList {"convert", "big.pf", "-o", "OUT", "--scale", "3"};
    QTest::newRow("text form") << QStringList {"cmbFormat", "text"} << "out.txt"
                               << QStringList {"text", "big.pf", "-o", "OUT"};
    if (knowsOtherCharsets())
        QTest::newRow("psf in cp437")
            << QStringList {"cmbFormat", "psf", "cmbCharset", "cp437"} << "out.psf"
            << QStringList {"convert", "big.pf", "-o", "OUT", "--charset", "cp437"};
}

void TestExportAsDialog::bytesAreTheCompanions()
{
    QFETCH(QStringList, choices);
    QFETCH(QString, output);
    QFETCH(QStringList, companion);
    const FontImage font = randomFont(99);
    writeRaw(m_dir->filePath(QStringLiteral("big.pf")), fontFileBytes(font));

    ExportAsDialog dialog(font, QStringLiteral("big.pf"), m_dir->path(), ExportChoices {},
                          m_fakes.services(), nullptr);
    for (qsizetype i = 0; i + 1 < choices.size(); i += 2)
        choose(dialog, choices[i], choices[i + 1]);
    dialog.findChild<QLineEdit *>(QStringLiteral("txtFile"))->setText(m_dir->filePath(output));
    dialog.accept();
    QVERIFY2(m_fakes.messages.shown.isEmpty(), qPrintable(m_fakes.messages.shown.value(0).text));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    // The companion writes the same names in a folder of its own: a C source names its header.
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("ref")));
    companion.replace(companion.indexOf(QStringLiteral("OUT")), QStringLiteral("ref/") + output);
    const QString error = runCompanion(companion, m_dir->path());
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(!dialog.written().isEmpty());
    for (const QString &written : dialog.written()) {
        const QString name = QFileInfo(written).fileName();
        QCOMPARE(fileBytesOf(written), fileBytesOf(m_dir->filePath(QStringLiteral("ref/") + name)));
    }
}

void TestExportAsDialog::failureKeepsTheDialogAndTheFiles()
{
    // The header can be written, the source cannot (a folder stands at its name): neither is.
    writeRaw(m_dir->filePath(QStringLiteral("osd.h")), "old header");
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("osd.c")));
    ExportAsDialog dialog(randomFont(3), QString(), m_dir->path(), ExportChoices {},
                          m_fakes.services(), nullptr);
    choose(dialog, QStringLiteral("cmbFormat"), QStringLiteral("c"));
    dialog.findChild<QLineEdit *>(QStringLiteral("txtFile"))->setText(m_dir->filePath("osd.h"));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(m_fakes.messages.shown.size(), 1);
    QVERIFY(m_fakes.messages.shown.first().text.contains(QStringLiteral("osd.c")));
    QCOMPARE(fileBytesOf(m_dir->filePath("osd.h")), QByteArray("old header"));
    QVERIFY(dialog.written().isEmpty());
}

void TestExportAsDialog::suffixFollowsTheFormat()
{
    ExportAsDialog dialog(randomFont(3), QStringLiteral("big.pf"), m_dir->path(), ExportChoices {},
                          m_fakes.services(), nullptr);
    auto *file = dialog.findChild<QLineEdit *>(QStringLiteral("txtFile"));
    QCOMPARE(QDir::fromNativeSeparators(file->text()), m_dir->filePath("big.asm"));
    choose(dialog, QStringLiteral("cmbFormat"), QStringLiteral("png"));
    QCOMPARE(QDir::fromNativeSeparators(file->text()), m_dir->filePath("big.png"));
    // Options the format does not take are hidden.
    QVERIFY(dialog.findChild<QWidget *>(QStringLiteral("cmbTarget"))->isHidden());
    QVERIFY(!dialog.findChild<QWidget *>(QStringLiteral("spnScale"))->isHidden());
}

void TestExportAsDialog::choicesComeBack()
{
    ExportChoices last;
    last.format = QStringLiteral("asm");
    last.options.target = PicTarget::Pic16;
    last.options.codes = CodeRange {32, 127};
    last.path = m_dir->filePath(QStringLiteral("fw/table.asm"));
    ExportAsDialog dialog(randomFont(3), QStringLiteral("big.pf"), m_dir->path(), last,
                          m_fakes.services(), nullptr);
    const ExportChoices again = dialog.choices();
    QCOMPARE(again.format, last.format);
    QCOMPARE(again.options.target, PicTarget::Pic16);
    QCOMPARE(again.options.codes, last.options.codes);
    QCOMPARE(again.path, last.path);
}

QTEST_MAIN(TestExportAsDialog)
#include "tst_exportasdialog.moc"
