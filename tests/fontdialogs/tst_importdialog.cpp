#include "fontdialogs/glyphsheet.h"
#include "fontdialogs/importdialog.h"
#include "fontdialogs/optionrows.h"
#include "formats/bdf.h"
#include "formats/fonttext.h"
#include "formats/pngimage.h"
#include "formats/psf.h"
#include "support/formatfixtures.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace {
// A PSF 2 of 512 glyphs whose table gives glyph 300 the character é and glyph 7 the letter e.
QByteArray consoleFont()
{
    QList<QList<char32_t>> entries(512);
    entries[300] = {0xE9};
    entries[7] = {'e'};
    QByteArray bytes = psf2(512, 8, 8, indexGlyphs(512)) + psfTable(2, entries);
    putLe32(bytes, 12, 1); // flags: a Unicode table follows
    return bytes;
}

QPushButton *okButton(const ImportDialog &dialog)
{
    return dialog.findChild<QPushButton *>(QStringLiteral("btnImport"));
}
} // namespace

// Import: the format told from the content, its options, and the font as it will be.
class TestImportDialog final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsWhatTheCompanionWrites_data();
    void readsWhatTheCompanionWrites();
    void consoleFontFollowsTheCharacterSet();
    void rawSpanFromOptions_data();
    void rawSpanFromOptions();
    void optionsShownAreTheFormats();
};

void TestImportDialog::readsWhatTheCompanionWrites_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("format");
    const FontImage font = randomFont(27);
    QTest::newRow("psf") << psf1Bytes(font) << "psf";
    QTest::newRow("psf gzip") << gzipped(psf1Bytes(font)) << "psf";
    QTest::newRow("bdf") << bdfBytes(font, QStringLiteral("f"), {}, {}) << "bdf";
    QTest::newRow("png") << encodePng(sheetOf(font, 3)) << "png";
    QTest::newRow("asm") << asmSource(font, QStringLiteral("f.pf")) << "asm";
    QTest::newRow("text") << fontText(font, {}) << "text";
}

void TestImportDialog::readsWhatTheCompanionWrites()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, format);
    ImportDialog dialog(QStringLiteral("source"), bytes, nullptr);
    QCOMPARE(QString::fromLatin1(dialog.format()->name), format);
    QVERIFY2(dialog.result().ok(), qPrintable(dialog.result().error));
    QVERIFY(okButton(dialog)->isEnabled());
    QCOMPARE(dialog.font(), randomFont(27));
    QCOMPARE(dialog.findChild<GlyphSheet *>(QStringLiteral("sheetPreview"))->glyphs(),
             dialog.font());
}

void TestImportDialog::consoleFontFollowsTheCharacterSet()
{
    OTHER_CHARSET_OR_SKIP("cp437");
    ImportDialog dialog(QStringLiteral("font.psf"), consoleFont(), nullptr);
    auto *found = dialog.findChild<QLabel *>(QStringLiteral("lblFound"));
    auto *report = dialog.findChild<QLabel *>(QStringLiteral("lblReport"));
    auto *sheet = dialog.findChild<GlyphSheet *>(QStringLiteral("sheetPreview"));
    QVERIFY(found->text().contains(QStringLiteral("512")));
    QCOMPARE(glyphOf(sheet->glyphs(), 0xE9), indexGlyph(300));
    QVERIFY2(report->text().contains(QStringLiteral("2 codes through the Unicode table")),
             qPrintable(report->text()));

    // In code page 437 é is 0x82: the preview and the report follow at once.
    auto *charset = dialog.findChild<QComboBox *>(QStringLiteral("cmbCharset"));
    charset->setCurrentText(QStringLiteral("cp437"));
    QCOMPARE(glyphOf(sheet->glyphs(), 0x82), indexGlyph(300));
    QCOMPARE(glyphOf(sheet->glyphs(), 0xE9), CharBitMap {});
    QVERIFY(report->text().contains(QStringLiteral("cp437")));

    charset->setCurrentText(QStringLiteral("no-such-set"));
    QVERIFY(!okButton(dialog)->isEnabled());
    QVERIFY(report->text().startsWith(QStringLiteral("Cannot import")));

    // By position the set has nothing to choose; glyph 0xE9 is the font's 0xE9th.
    charset->setCurrentText(QStringLiteral("latin1"));
    dialog.findChild<QCheckBox *>(QStringLiteral("chkByPosition"))->setChecked(true);
    QVERIFY(!charset->isEnabled());
    QCOMPARE(glyphOf(dialog.font(), 0xE9), indexGlyph(0xE9));
    QVERIFY(okButton(dialog)->isEnabled());
}

void TestImportDialog::rawSpanFromOptions_data()
{
    QTest::addColumn<QString>("offset");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("readable");
    // The ROM: 16 bytes of header, then glyphs 0 to 9 of indexGlyph.
    QTest::newRow("span at 0x10 from 'A'") << "0x10" << 65 << 10 << true;
    QTest::newRow("all the data holds") << "16" << 65 << 0 << true;
    QTest::newRow("past code 255") << "16" << 250 << 10 << false;
    QTest::newRow("offset no number") << "sixteen" << 0 << 0 << false;
}

void TestImportDialog::rawSpanFromOptions()
{
    QFETCH(QString, offset);
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(bool, readable);
    const QByteArray rom = QByteArray(16, '\xAA') + indexGlyphs(10);
    ImportDialog dialog(QStringLiteral("rom.bin"), rom, nullptr);
    // Nothing recognises a ROM dump: it is offered as raw bytes.
    QCOMPARE(QString::fromLatin1(dialog.format()->name), QStringLiteral("raw"));
    dialog.findChild<QLineEdit *>(QStringLiteral("txtOffset"))->setText(offset);
    dialog.findChild<QSpinBox *>(QStringLiteral("spnFirst"))->setValue(first);
    dialog.findChild<QSpinBox *>(QStringLiteral("spnCount"))->setValue(count);
    QCOMPARE(okButton(dialog)->isEnabled(), readable);
    if (!readable)
        return;
    for (int i = 0; i < 10; ++i)
        QCOMPARE(glyphOf(dialog.font(), first + i), indexGlyph(i));
    QCOMPARE(glyphOf(dialog.font(), first + 10 < 256 ? first + 10 : 0) == CharBitMap {},
             first + 10 < 256);
}

void TestImportDialog::optionsShownAreTheFormats()
{
    ImportDialog dialog(QStringLiteral("source"), psf1Bytes(randomFont(1)), nullptr);
    for (const FontFormat &format : fontFormats()) {
        if (!format.reads())
            continue;
        dialog.setFormat(format);
        const std::pair<FormatOption, const char *> rows[]
            = {{FormatOption::Charset, "cmbCharset"}, {FormatOption::ByPosition, "chkByPosition"},
               {FormatOption::Offset, "txtOffset"},   {FormatOption::RawSpan, "spnFirst"},
               {FormatOption::RawSpan, "spnCount"},   {FormatOption::Layout, "cmbLayout"},
               {FormatOption::Layout, "spnWidth"},   {FormatOption::PixelSize, "spnSize"},
               {FormatOption::Ink, "cmbInk"}};
        for (const auto &[option, name] : rows) {
            auto *field = dialog.findChild<QWidget *>(QLatin1String(name));
            QCOMPARE(!field->isHidden(), format.readOptions.testFlag(option));
        }
    }
}

QTEST_MAIN(TestImportDialog)
#include "tst_importdialog.moc"
