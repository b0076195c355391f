#include "editor/fontdocument.h"

#include "core/glyphedit.h"
#include "core/glyphtransform.h"

#include <QFileInfo>
#include <QUndoCommand>
#include <QUndoStack>

#include <utility>

namespace {
QList<int> allCodes()
{
    QList<int> codes;
    codes.reserve(CharacterCount);
    for (int code = 0; code < CharacterCount; ++code)
        codes.append(code);
    return codes;
}

// The editor as New and Open leave it: character 0 selected and loaded.
EditorState firstCharacterOf(const FontImage &font)
{
    return {0, glyphOf(font, 0), true};
}
} // namespace

FontFile FontFile::none()
{
    return {editorTitleFor(QString()), {}, {}};
}

FontFile FontFile::fontFile(const QString &path)
{
    return {editorTitleFor(path), QFileInfo(path).absolutePath(), {}};
}

FontFile FontFile::importedFrom(const QString &path)
{
    const QFileInfo info(path);
    // "vga.psf.gz" is vga's font as much as "vga.psf" is.
    QString base = info.completeBaseName();
    if (info.suffix().compare(QLatin1String("gz"), Qt::CaseInsensitive) == 0)
        base = QFileInfo(base).completeBaseName();
    if (base.isEmpty())
        base = QStringLiteral("font");
    return {editorTitleFor(QString()), info.absolutePath(), base + QStringLiteral(".pf")};
}

// One step: the pixel editor before and after, and what it changed in the font, if anything.
// A step pushed for a change already shown (a stroke) skips its first redo.
class DocumentStep final : public QUndoCommand
{
public:
    DocumentStep(FontDocument *document, const QString &text, const EditorState &before,
                 const EditorState &after)
        : QUndoCommand(text)
        , m_document(document)
        , m_before(before)
        , m_after(after)
    { }

    void redo() override
    {
        if (std::exchange(m_alreadyShown, false))
            return;
        if (m_replacement)
            m_document->showFont(m_replacement->after, m_replacement->fileAfter);
        m_document->showGlyphs(m_glyphsAfter);
        m_document->showEditor(m_after);
    }
    void undo() override
    {
        if (m_replacement)
            m_document->showFont(m_replacement->before, m_replacement->fileBefore);
        m_document->showGlyphs(m_glyphsBefore);
        m_document->showEditor(m_before);
    }

    void markShown() { m_alreadyShown = true; }
    void setGlyphs(QList<GlyphChange> before, QList<GlyphChange> after)
    {
        m_glyphsBefore = std::move(before);
        m_glyphsAfter = std::move(after);
    }
    void setReplacement(const FontImage &before, std::shared_ptr<FontFile> fileBefore,
                        const FontImage &after, std::shared_ptr<FontFile> fileAfter)
    {
        m_replacement = std::make_unique<Replacement>(
            Replacement {before, after, std::move(fileBefore), std::move(fileAfter)});
    }

private:
    // Held apart so that the steps of the pixel editor, by far the most, stay small.
    struct Replacement
    {
        FontImage before;
        FontImage after;
        std::shared_ptr<FontFile> fileBefore;
        std::shared_ptr<FontFile> fileAfter;
    };

    FontDocument *m_document = nullptr;
    EditorState m_before;
    EditorState m_after;
    QList<GlyphChange> m_glyphsBefore;
    QList<GlyphChange> m_glyphsAfter;
    std::unique_ptr<Replacement> m_replacement;
    bool m_alreadyShown = false;
};

FontDocument::FontDocument(QObject *parent)
    : QObject(parent)
    , m_file(std::make_shared<FontFile>(FontFile::none()))
    , m_undoStack(new QUndoStack(this))
{
    m_undoStack->setUndoLimit(HistoryLimit);
}

FontDocument::~FontDocument()
{
    // The steps go first, and quietly: the views may already be gone.
    m_undoStack->blockSignals(true);
    m_undoStack->clear();
}

void FontDocument::reset()
{
    m_stroke.reset();
    m_undoStack->clear();
    showFont(FontImage {}, std::make_shared<FontFile>(FontFile::none()));
    showEditor(EditorState {});
}

void FontDocument::select(int code)
{
    if (code == m_editor.selected || code < 0 || code >= CharacterCount)
        return;
    endStroke();
    showEditor({code, glyph(code), true});
}

void FontDocument::rename(const FontFile &file)
{
    *m_file = file;
    Q_EMIT fileChanged();
}

void FontDocument::togglePixel(int square)
{
    EditorState after = m_editor;
    after.grid = toggled(after.grid, square);
    pushEditorStep(tr("Toggle Pixel"), after);
}

void FontDocument::clearEditor()
{
    pushEditorStep(tr("Clear"), {m_editor.selected, {}, false});
}

void FontDocument::invertEditor()
{
    EditorState after = m_editor;
    after.grid = inverted(after.grid);
    pushEditorStep(tr("Invert"), after);
}

void FontDocument::paste(const CharBitMap &buffer)
{
    EditorState after = m_editor;
    after.grid = pasted(after.grid, buffer);
    pushEditorStep(tr("Paste"), after);
}

void FontDocument::beginStroke(int square)
{
    endStroke();
    m_stroke = Stroke {m_editor, !isInk(m_editor.grid, square), 0};
    strokeOver(square);
}

void FontDocument::strokeOver(int square)
{
    if (!m_stroke || square < 0 || square >= GlyphSize * GlyphSize
        || isInk(m_editor.grid, square) == m_stroke->ink)
        return;
    EditorState state = m_editor;
    state.grid = withPixel(state.grid, square, m_stroke->ink);
    ++m_stroke->squares;
    showEditor(state);
}

void FontDocument::endStroke()
{
    if (!m_stroke)
        return;
    const Stroke stroke = *std::exchange(m_stroke, std::nullopt);
    if (stroke.before == m_editor)
        return;
    auto *step = new DocumentStep(this, stroke.squares == 1 ? tr("Toggle Pixel") : tr("Paint"),
                                  stroke.before, m_editor);
    step->markShown();
    push(step);
}

void FontDocument::apply()
{
    const int code = m_editor.selected;
    if (code < 0 || glyph(code) == m_editor.grid)
        return;
    auto *step = new DocumentStep(this, tr("Apply"), m_editor, m_editor);
    step->setGlyphs({{code, glyph(code)}}, {{code, m_editor.grid}});
    push(step);
}

void FontDocument::newFont()
{
    replaceFont(tr("New"), FontImage {}, FontFile::none());
}

void FontDocument::replaceFont(const QString &text, const FontImage &font, const FontFile &file)
{
    auto *step = new DocumentStep(this, text, m_editor, firstCharacterOf(font));
    step->setReplacement(m_font, m_file, font, std::make_shared<FontFile>(file));
    push(step);
}

void FontDocument::changeGlyphs(const QString &text, const QList<GlyphChange> &changes)
{
    QList<GlyphChange> before, after;
    EditorState editor = m_editor;
    for (const GlyphChange &change : changes) {
        const CharBitMap old = glyph(change.first);
        if (old == change.second)
            continue;
        before.append({change.first, old});
        after.append(change);
        if (change.first == m_editor.selected && m_editor.grid == old)
            editor.grid = change.second;
    }
    if (after.isEmpty())
        return;
    auto *step = new DocumentStep(this, text, m_editor, editor);
    step->setGlyphs(before, after);
    push(step);
}

void FontDocument::undo()
{
    endStroke();
    m_undoStack->undo();
}

void FontDocument::redo()
{
    endStroke();
    m_undoStack->redo();
}

void FontDocument::pushEditorStep(const QString &text, const EditorState &after)
{
    endStroke();
    if (after == m_editor)
        return;
    push(new DocumentStep(this, text, m_editor, after));
}

void FontDocument::push(DocumentStep *step)
{
    endStroke();
    m_undoStack->push(step);
}

void FontDocument::showEditor(const EditorState &state)
{
    if (state == m_editor)
        return;
    const int previous = m_editor.selected;
    m_editor = state;
    if (previous != state.selected)
        Q_EMIT selectionChanged(previous, state.selected);
    Q_EMIT editorChanged();
}

void FontDocument::showGlyphs(const QList<GlyphChange> &changes)
{
    if (changes.isEmpty())
        return;
    QList<int> codes;
    for (const GlyphChange &change : changes) {
        ::setGlyph(m_font, change.first, change.second);
        codes.append(change.first);
    }
    Q_EMIT glyphsChanged(codes);
}

void FontDocument::showFont(const FontImage &font, const std::shared_ptr<FontFile> &file)
{
    const bool fileChanges = file != m_file;
    m_font = font;
    m_file = file;
    Q_EMIT glyphsChanged(allCodes());
    if (fileChanges)
        Q_EMIT fileChanged();
}
