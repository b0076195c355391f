#pragma once

#include "core/charbitmap.h"
#include "core/fontimage.h"
#include "core/modtools.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

#include <memory>
#include <optional>

class QUndoStack;
class DocumentStep;

// The pixel editor's working copy: which character it edits and the grid as edited so far, which
// reaches the font only through Apply.
struct EditorState
{
    int selected = -1; // the character being edited, -1 for none
    CharBitMap grid {};
    bool named = false; // whether the panel names the character (Clear empties the name)

    bool operator==(const EditorState &) const = default;
};

// Which file the font is. The caption names it, Save proposes it and the file dialogs start in
// its folder.
struct FontFile
{
    EditorTitle title; // the caption and the file name (CurrentFileName); no name for a new font
    QString folder; // where the font came from or was saved; empty for a new font
    // What Save proposes when the font has no .pf name yet: "vga.pf" for a font imported from
    // vga.psf, so that saving never proposes the source itself.
    QString proposedName;

    static FontFile none();
    // A .pf file opened or saved under this path.
    static FontFile fontFile(const QString &path);
    // A font read from a file of another format.
    static FontFile importedFrom(const QString &path);
};

// One code's glyph replaced: the glyph it gets.
using GlyphChange = QPair<int, CharBitMap>;

// The one font the window shows, its file and its history. The palette, the pixel editor, the
// preview and the title draw from it and follow its signals; every change to the font or to the
// pixel editor's working copy is one step of the undo stack, which undoes itself. Selecting a
// character is not a step: each step brings back the selection it was made on.
class FontDocument final : public QObject
{
    Q_OBJECT

public:
    explicit FontDocument(QObject *parent);
    ~FontDocument() override;

    const FontImage &font() const { return m_font; }
    CharBitMap glyph(int code) const { return glyphOf(m_font, code); }
    const EditorState &editor() const { return m_editor; }
    int selected() const { return m_editor.selected; }
    const FontFile &file() const { return *m_file; }
    QUndoStack *undoStack() const { return m_undoStack; }
    // Steps are kept for the session up to this many, the oldest dropped first.
    static constexpr int HistoryLimit = 10000;

    // A blank font with no file, nothing selected, an empty history: the state before start-up
    // runs New.
    void reset();
    // Makes the character the one being edited, loading its glyph; selecting the selected
    // character again changes nothing, so that unapplied edits stay.
    void select(int code);
    // A new name for the same font, after Save: the steps that brought the font in now name it.
    void rename(const FontFile &file);

    // Steps of the pixel editor.
    void togglePixel(int square);
    void clearEditor();
    void invertEditor();
    void paste(const CharBitMap &buffer);
    // A stroke painted with the mouse held: the first square toggles, every further one takes
    // the value the first took, and the whole stroke is one step once it ends.
    void beginStroke(int square);
    void strokeOver(int square);
    void endStroke();
    bool inStroke() const { return m_stroke.has_value(); }

    // Steps of the font.
    void apply();
    void newFont();
    // Another font for the whole: Open, an import. Character 0 is selected afterwards.
    void replaceFont(const QString &text, const FontImage &font, const FontFile &file);
    // Some glyphs replaced, as one step. Where the selected character's glyph changes and the
    // pixel editor showed it unedited, the editor shows the new glyph.
    void changeGlyphs(const QString &text, const QList<GlyphChange> &changes);

    void undo();
    void redo();

Q_SIGNALS:
    // These glyphs changed (all 256 when the font was replaced).
    void glyphsChanged(const QList<int> &codes);
    void selectionChanged(int previous, int current);
    // The working copy, its selection or its name changed.
    void editorChanged();
    void fileChanged();

private:
    friend class DocumentStep;

    void pushEditorStep(const QString &text, const EditorState &after);
    void push(DocumentStep *step);
    void showEditor(const EditorState &state);
    void showGlyphs(const QList<GlyphChange> &changes);
    void showFont(const FontImage &font, const std::shared_ptr<FontFile> &file);

    struct Stroke
    {
        EditorState before;
        bool ink = false;
        int squares = 0;
    };

    FontImage m_font {};
    EditorState m_editor;
    // Shared with the steps that brought this font in, so that a Save renames them all.
    std::shared_ptr<FontFile> m_file;
    QUndoStack *m_undoStack = nullptr;
    std::optional<Stroke> m_stroke;
};
