#include "editor/fontdocument.h"
#include "editor/fontpalette.h"
#include "glyphcell/fontchar.h"
#include "support/support.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <memory>

namespace {
// The font as the 256 cells show it: it must always be the document's.
FontImage shownFont(const FontPalette &palette)
{
    FontImage font {};
    for (int code = 0; code < 256; ++code)
        setGlyph(font, code, palette.SelFontChar(code)->BitMap());
    return font;
}
} // namespace

// The palette as a view of the document: the font it shows, the selection it highlights, and the
// arrow keys that move the selection.
class TestFontPalette final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void fontAgreesWithTheDocument_data();
    void fontAgreesWithTheDocument();
    void highlightFollowsTheSelection();
    void arrowKeys_data();
    void arrowKeys();

private:
    std::unique_ptr<QWidget> m_container;
    FontDocument *m_document = nullptr;
    FontPalette *m_palette = nullptr;
};

void TestFontPalette::init()
{
    m_container = std::make_unique<QWidget>();
    m_document = new FontDocument(m_container.get());
    m_palette = new FontPalette(m_document, m_container.get());
}

void TestFontPalette::cleanup()
{
    m_container.reset();
}

void TestFontPalette::fontAgreesWithTheDocument_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("code");
    QTest::newRow("first") << 1u << 0;
    QTest::newRow("A") << 2u << 65;
    QTest::newRow("last") << 3u << 255;
}

void TestFontPalette::fontAgreesWithTheDocument()
{
    QFETCH(quint32, seed);
    QFETCH(int, code);
    const FontImage font = randomFont(seed);
    m_document->replaceFont(QStringLiteral("Open"), font, FontFile::none());
    QCOMPARE(shownFont(*m_palette), font);
    QCOMPARE(m_palette->SelectedIndex(), 0);

    // One glyph replaced changes its own cell and no other, and comes back with Undo.
    m_document->select(code);
    m_document->changeGlyphs(QStringLiteral("Change"), {{code, CapitalA}});
    FontImage expected = font;
    setGlyph(expected, code, CapitalA);
    QCOMPARE(shownFont(*m_palette), expected);
    QCOMPARE(m_palette->SelFontChar(code)->BackColor(), Green);
    m_document->undo();
    QCOMPARE(shownFont(*m_palette), font);
    m_document->undo();
    QCOMPARE(shownFont(*m_palette), FontImage {});

    m_document->redo();
    m_document->reset();
    QCOMPARE(shownFont(*m_palette), FontImage {});
    QCOMPARE(m_palette->SelectedIndex(), -1);
    for (int cell : {0, code}) {
        QVERIFY(!m_palette->SelFontChar(cell)->isSelected());
        QCOMPARE(m_palette->SelFontChar(cell)->BackColor(), QColor(Qt::white));
    }
}

void TestFontPalette::highlightFollowsTheSelection()
{
    m_palette->SelFontChar_GotFocus(65);
    m_palette->SelFontChar_GotFocus(66);
    QCOMPARE(m_document->selected(), 66);
    QCOMPARE(m_palette->SelFontChar(65)->BackColor(), QColor(Qt::white));
    QVERIFY(!m_palette->SelFontChar(65)->isSelected());
    QVERIFY(m_palette->SelFontChar(66)->isSelected());
    QCOMPARE(m_palette->SelFontChar(66)->BackColor(), Green);
}

void TestFontPalette::arrowKeys_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<int>("to");
    // Left and Right step through the codes, across the ends of palette rows; Up and Down go a
    // palette row, 30 codes; a step that would leave the palette goes nowhere.
    QTest::newRow("0 left stays") << 0 << Qt::Key_Left << 0;
    QTest::newRow("0 up stays") << 0 << Qt::Key_Up << 0;
    QTest::newRow("0 right") << 0 << Qt::Key_Right << 1;
    QTest::newRow("0 down a row") << 0 << Qt::Key_Down << 30;
    QTest::newRow("29 right wraps to the next row") << 29 << Qt::Key_Right << 30;
    QTest::newRow("29 up stays") << 29 << Qt::Key_Up << 29;
    QTest::newRow("29 down") << 29 << Qt::Key_Down << 59;
    QTest::newRow("30 left back to 29") << 30 << Qt::Key_Left << 29;
    QTest::newRow("30 up") << 30 << Qt::Key_Up << 0;
    QTest::newRow("225 down to the last") << 225 << Qt::Key_Down << 255;
    QTest::newRow("226 down past the end stays") << 226 << Qt::Key_Down << 226;
    QTest::newRow("240 down from the last row stays") << 240 << Qt::Key_Down << 240;
    QTest::newRow("255 right stays") << 255 << Qt::Key_Right << 255;
    QTest::newRow("255 down stays") << 255 << Qt::Key_Down << 255;
    QTest::newRow("255 left") << 255 << Qt::Key_Left << 254;
    QTest::newRow("255 up") << 255 << Qt::Key_Up << 225;
}

void TestFontPalette::arrowKeys()
{
    QFETCH(int, from);
    QFETCH(Qt::Key, key);
    QFETCH(int, to);
    QVERIFY(showActive(m_container.get()));
    if (to != from)
        m_document->changeGlyphs(QStringLiteral("Change"), {{to, CapitalA}});
    m_palette->selectAndFocus(from);
    QTest::keyClick(m_palette->SelFontChar(from), key);
    // Moving selects, as a click or Tab does, and loads the character.
    QCOMPARE(QApplication::focusWidget(), m_palette->SelFontChar(to));
    QCOMPARE(m_document->selected(), to);
    QCOMPARE(m_document->editor().grid, m_document->glyph(to));
    for (int code = 0; code < 256; ++code)
        QCOMPARE(m_palette->SelFontChar(code)->isSelected(), code == to);
}

QTEST_MAIN(TestFontPalette)
#include "tst_fontpalette.moc"
