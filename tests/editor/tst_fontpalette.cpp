#include "editor/fontpalette.h"
#include "glyphcell/fontchar.h"
#include "support/support.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <memory>

namespace {
// The font as the 256 cells show it: the palette's own font must always agree with it.
FontImage shownFont(const FontPalette &palette)
{
    FontImage font {};
    for (int code = 0; code < 256; ++code)
        setGlyph(font, code, palette.SelFontChar(code)->BitMap());
    return font;
}
} // namespace

// The palette on its own: the font it keeps and shows, and the selection it reports.
class TestFontPalette final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void fontAgreesWithTheCells_data();
    void fontAgreesWithTheCells();
    void selectionIsReportedOnce();

private:
    std::unique_ptr<QWidget> m_container;
    FontPalette *m_palette = nullptr;
};

void TestFontPalette::init()
{
    m_container = std::make_unique<QWidget>();
    m_palette = new FontPalette(m_container.get());
}

void TestFontPalette::cleanup()
{
    m_container.reset();
}

void TestFontPalette::fontAgreesWithTheCells_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("code");
    QTest::newRow("first") << 1u << 0;
    QTest::newRow("A") << 2u << 65;
    QTest::newRow("last") << 3u << 255;
}

void TestFontPalette::fontAgreesWithTheCells()
{
    QFETCH(quint32, seed);
    QFETCH(int, code);
    const FontImage font = randomFont(seed);
    m_palette->SelFontChar_GotFocus(code);
    m_palette->setFont(font);
    QCOMPARE(m_palette->font(), font);
    QCOMPARE(shownFont(*m_palette), font);
    QCOMPARE(m_palette->SelectedIndex(), code);

    // One glyph replaced changes its own 8 bytes and no other.
    m_palette->setGlyph(code, CapitalA);
    FontImage expected = font;
    for (int r = 0; r < 8; ++r)
        expected[8 * code + r] = CapitalA[r];
    QCOMPARE(m_palette->font(), expected);
    QCOMPARE(shownFont(*m_palette), expected);
    QCOMPARE(m_palette->SelFontChar(code)->BackColor(), Green);

    m_palette->clear();
    QCOMPARE(m_palette->font(), FontImage {});
    QCOMPARE(shownFont(*m_palette), FontImage {});
    QCOMPARE(m_palette->SelectedIndex(), -1);
    QVERIFY(!m_palette->SelFontChar(code)->isSelected());
    QCOMPARE(m_palette->SelFontChar(code)->BackColor(), QColor(Qt::white));
}

void TestFontPalette::selectionIsReportedOnce()
{
    m_palette->setGlyph(65, CapitalA);
    QSignalSpy selected(m_palette, &FontPalette::characterSelected);
    m_palette->SelFontChar_GotFocus(65);
    m_palette->SelFontChar_GotFocus(65);
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected[0][0].toInt(), 65);
    QCOMPARE(selected[0][1].value<CharBitMap>(), CapitalA);
    m_palette->SelFontChar_GotFocus(66);
    QCOMPARE(selected.size(), 2);
    QCOMPARE(m_palette->SelFontChar(65)->BackColor(), QColor(Qt::white));
    QVERIFY(!m_palette->SelFontChar(65)->isSelected());
    QVERIFY(m_palette->SelFontChar(66)->isSelected());
}

QTEST_MAIN(TestFontPalette)
#include "tst_fontpalette.moc"
