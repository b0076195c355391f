#pragma once

#include "core/charbitmap.h"
#include "core/modtools.h"
#include "editor/fontpalette.h"
#include "platform/services.h"

#include <QMainWindow>

#include <optional>

class DetailsPanel;
class FontChar;
class frmAbout;
struct OpenedFont;

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

    // Opens a font file as Open does once the file is chosen: the file named on the command line.
    void openFile(const QString &path);

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
    void showOpenedFont(const std::optional<OpenedFont> &opened);
    void mnuSave_Click();
    void mnuExit_Click();
    void mneExport_Click();
    void mnuAbout_Click();

    // Shows the caption and keeps the file name as the current one.
    void UpdateTitle(const EditorTitle &title);

    Services m_services;
    QWidget *m_client = nullptr;
    FontPalette *m_palette = nullptr;
    DetailsPanel *m_DetailsPanel = nullptr;
    frmAbout *m_about = nullptr;

    QString m_CurrentFileName;
    CharBitMap m_CopyBuffer {};
};
