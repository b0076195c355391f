#include "editor/fontdocument.h"
#include "support/support.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

namespace {
// Everything a step may change, as the user sees it.
struct Shown
{
    FontImage font {};
    EditorState editor;
    QString caption;

    bool operator==(const Shown &) const = default;
};

Shown shownBy(const FontDocument &document)
{
    return {document.font(), document.editor(), document.file().title.caption};
}

CharBitMap withBit(CharBitMap glyph, int square, bool ink)
{
    const std::uint8_t bit = 0x80 >> (square % 8);
    glyph[square / 8] = ink ? (glyph[square / 8] | bit) : (glyph[square / 8] & ~bit);
    return glyph;
}

// The history told another way: whole states before and after each step, a step being any
// operation that changes what is shown, except selecting.
class Model
{
public:
    Shown now;

    void step(const Shown &after)
    {
        if (after == now)
            return;
        m_steps.resize(m_done);
        m_steps.append({now, after});
        ++m_done;
        now = after;
    }
    void undo()
    {
        if (m_done > 0)
            now = m_steps[--m_done].first;
    }
    void redo()
    {
        if (m_done < m_steps.size())
            now = m_steps[m_done++].second;
    }

private:
    QList<QPair<Shown, Shown>> m_steps;
    qsizetype m_done = 0;
};

const FontImage OpenedFont = randomFont(7);
} // namespace

// The document and its history: every change one step, undone and redone whole.
class TestFontDocument final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void undoAndRedo_data();
    void undoAndRedo();
    void strokeSetsWhatTheFirstSquareTook();
    void historyHoldsAThousandSteps();
    void changedGlyphsFollowAnUneditedEditor();
};

void TestFontDocument::undoAndRedo_data()
{
    QTest::addColumn<QString>("operations");
    // t toggle, d stroke (first square, then the ones passed over), i invert, c clear,
    // p paste an A, a apply, s select, n New, o Open, S Save, u undo, r redo.
    QTest::newRow("toggle undone and redone") << "s65 t0 t9 u u r";
    QTest::newRow("apply undone") << "s65 p a u u r";
    QTest::newRow("invert, clear, paste") << "s65 i c p u u r r";
    QTest::newRow("undo goes back to the step's character") << "s65 t0 s66 t1 u u r r";
    QTest::newRow("unapplied edits lost by selecting come back") << "s65 p s66 u";
    QTest::newRow("a new step drops what could be redone") << "s65 t0 t1 u t2 r";
    QTest::newRow("a stroke is one step") << "s65 d8,9,10,11,17 u r";
    QTest::newRow("a stroke back over itself") << "s65 t9 d8,9,10,9 u";
    QTest::newRow("New undone brings the font back") << "o s65 t3 a n u";
    QTest::newRow("New undone and redone") << "o s65 p a n u r u";
    QTest::newRow("Open undone") << "s65 p a o u r u";
    QTest::newRow("Save names the font in its steps") << "o S n u r u";
    QTest::newRow("changing nothing is no step") << "s65 c c u u";
    QTest::newRow("undo and redo with nothing to do") << "u r s3 t1 r r u u u";
}

void TestFontDocument::undoAndRedo()
{
    QFETCH(QString, operations);
    FontDocument document(nullptr);
    Model model;
    model.now = shownBy(document);
    const QString saved = QDir::temp().filePath(QStringLiteral("saved.pf"));
    for (const QString &operation : operations.split(u' ')) {
        const QChar kind = operation.at(0);
        const QString argument = operation.mid(1);
        Shown after = model.now;
        EditorState &editor = after.editor;
        if (kind == u't') {
            const int square = argument.toInt();
            document.togglePixel(square);
            editor.grid
                = withBit(editor.grid, square, !(editor.grid[square / 8] & (0x80 >> (square % 8))));
            model.step(after);
        } else if (kind == u'd') {
            const QStringList squares = argument.split(u',');
            const int first = squares.constFirst().toInt();
            const bool ink = !(editor.grid[first / 8] & (0x80 >> (first % 8)));
            document.beginStroke(first);
            for (const QString &square : squares) {
                document.strokeOver(square.toInt());
                editor.grid = withBit(editor.grid, square.toInt(), ink);
            }
            document.endStroke();
            model.step(after);
        } else if (kind == u'i') {
            document.invertEditor();
            for (std::uint8_t &row : editor.grid)
                row = static_cast<std::uint8_t>(~row);
            model.step(after);
        } else if (kind == u'c') {
            document.clearEditor();
            editor.grid = {};
            editor.named = false;
            model.step(after);
        } else if (kind == u'p') {
            document.paste(CapitalA);
            for (int r = 0; r < 8; ++r)
                editor.grid[r] ^= CapitalA[r];
            model.step(after);
        } else if (kind == u'a') {
            document.apply();
            for (int r = 0; r < 8; ++r)
                after.font[8 * editor.selected + r] = editor.grid[r];
            model.step(after);
        } else if (kind == u's') {
            const int code = argument.toInt();
            document.select(code);
            if (code != editor.selected)
                model.now.editor = {code, glyphOf(model.now.font, code), true};
        } else if (kind == u'n' || kind == u'o') {
            const bool open = kind == u'o';
            if (open)
                document.replaceFont(QStringLiteral("Open"), OpenedFont,
                                     FontFile::fontFile(QStringLiteral("/fonts/x.pf")));
            else
                document.newFont();
            after.font = open ? OpenedFont : FontImage {};
            after.editor = {0, glyphOf(after.font, 0), true};
            after.caption = BaseTitle + (open ? QStringLiteral(" (x.pf)") : QString());
            model.step(after);
        } else if (kind == u'S') {
            document.rename(FontFile::fontFile(saved));
            model.now.caption = BaseTitle + QStringLiteral(" (saved.pf)");
        } else if (kind == u'u') {
            document.undo();
            model.undo();
        } else if (kind == u'r') {
            document.redo();
            model.redo();
        }
        QVERIFY2(shownBy(document) == model.now, qPrintable(operation));
    }
    // Save renamed the font everywhere it is kept: undoing back to it shows the saved name.
    if (operations.contains(u'S'))
        QCOMPARE(document.file().title.caption, BaseTitle + QStringLiteral(" (saved.pf)"));
}

void TestFontDocument::strokeSetsWhatTheFirstSquareTook()
{
    FontDocument document(nullptr);
    document.select(0);
    document.togglePixel(2);
    QSignalSpy shown(&document, &FontDocument::editorChanged);
    // Square 1 was clear, so the stroke inks; square 2, already ink, stays so.
    document.beginStroke(1);
    QCOMPARE(document.editor().grid[0], 0x60);
    document.strokeOver(2);
    document.strokeOver(3);
    // The editor shows the stroke as it goes, before it ends.
    QCOMPARE(document.editor().grid[0], 0x70);
    QCOMPARE(shown.size(), 2);
    QCOMPARE(document.undoStack()->count(), 1);
    document.endStroke();
    QCOMPARE(document.undoStack()->count(), 2);
    // Starting on ink, a stroke clears.
    document.beginStroke(3);
    document.strokeOver(1);
    document.strokeOver(3);
    document.endStroke();
    QCOMPARE(document.editor().grid[0], 0x20);
    // Undoing in the middle of a stroke ends it first, then takes it back whole.
    document.beginStroke(9);
    document.undo();
    QCOMPARE(document.editor().grid[0], 0x20);
    QCOMPARE(document.editor().grid[1], 0);
    QVERIFY(!document.inStroke());
}

void TestFontDocument::historyHoldsAThousandSteps()
{
    FontDocument document(nullptr);
    document.select(0);
    constexpr int Steps = 1500;
    for (int i = 0; i < Steps; ++i)
        document.togglePixel(i % 64);
    for (int i = 0; i < Steps; ++i)
        document.undo();
    QCOMPARE(document.editor().grid, CharBitMap {});
    QVERIFY(!document.undoStack()->canUndo());
    QVERIFY(FontDocument::HistoryLimit >= 1000);
}

void TestFontDocument::changedGlyphsFollowAnUneditedEditor()
{
    FontDocument document(nullptr);
    document.select(65);
    document.changeGlyphs(QStringLiteral("Transform"), {{65, CapitalA}, {66, CapitalA}});
    QCOMPARE(document.editor().grid, CapitalA);
    // With unapplied edits in the editor, the change leaves them be.
    document.togglePixel(0);
    const CharBitMap edited = document.editor().grid;
    document.changeGlyphs(QStringLiteral("Transform"), {{65, CharBitMap {}}});
    QCOMPARE(document.editor().grid, edited);
    QCOMPARE(document.glyph(65), CharBitMap {});
    document.undo();
    QCOMPARE(document.glyph(65), CapitalA);
    QCOMPARE(document.undoStack()->undoText(), QStringLiteral("Toggle Pixel"));
}

QTEST_MAIN(TestFontDocument)
#include "tst_fontdocument.moc"
