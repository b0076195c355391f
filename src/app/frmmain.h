#pragma once

#include "core/charbitmap.h"
#include "core/modtools.h"
#include "editor/fontpalette.h"
#include "platform/services.h"

#include <QMainWindow>

#include "fontdialogs/exportasdialog.h"

class DetailsPanel;
class TextPreviewWindow;
class FontChar;
class frmAbout;

// The editor's one window: the palette, the pixel editor panel and the menu, wired together,
// and the state they share: the current file name and the copy buffer.
class frmMain final : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(const Services &services, QWidget *parent = nullptr);

    int SelectedIndex() const { return m_palette->SelectedIndex(); }
    QString CurrentFileName() const { return m_CurrentFileName; }
    CharBitMap CopyBuffer() const { return m_CopyBuffer; }
    FontChar *SelFontChar(int index) const { return m_palette->SelFontChar(index); }
    DetailsPanel *detailsPanel() const { return m_DetailsPanel; }

    // Shows the Import dialog on a font file of another format; the font it gives replaces the
    // one shown.
    void importFile(const QString &path);

    // Every character blank and none selected: a state no single user action leaves in place.
    void ResetFont();

private:
    void createMenus();
    void Form_Load();

    void showSelectedCharacter(int code, const CharBitMap &glyph);
    void btnOK_Click();
    void btnClear_Click();
    void btnInvert_Click();
    void btnCopy_Click();
    void btnPaste_Click();

    void mnuNew_Click();
    void mnuOpen_Click();
    void mnuSave_Click();
    void mnuExit_Click();
    void mneExport_Click();
    void mnuAbout_Click();

    void mnuImport_Click();
    void mnuExportAs_Click();
    void mnuTransform_Click();
    void mnuTextPreview_Click();
    // Takes a font that replaces the whole one shown, keeping the selection, and shows it in
    // every view.
    void replaceFont(const FontImage &font);
    void fontChanged();

    // Shows the caption and keeps the file name as the current one.
    void UpdateTitle(const EditorTitle &title);

    Services m_services;
    QWidget *m_client = nullptr;
    FontPalette *m_palette = nullptr;
    DetailsPanel *m_DetailsPanel = nullptr;
    frmAbout *m_about = nullptr;

    TextPreviewWindow *m_textPreview = nullptr;

    QString m_CurrentFileName;
    // After an import, the name Save proposes: the source's with ".pf", never the source itself.
    QString m_importedName;
    ExportChoices m_exportChoices;
    CharBitMap m_CopyBuffer {};
};
