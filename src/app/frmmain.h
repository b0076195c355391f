#pragma once

#include "charbitmap.h"
#include "fontimage.h"
#include "services.h"

#include <QMainWindow>

#include <array>

class DetailsPanel;
class FontChar;
class frmAbout;
class TestEditing;

// The editor's one window: owns the palette of 256 glyph cells, the pixel editor panel and
// the menu, and the state they share: the selection, the current file name and the copy buffer.
class frmMain final : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(const Services &services, QWidget *parent = nullptr);

    int SelectedIndex() const { return m_SelectedIndex; }
    QString CurrentFileName() const { return m_CurrentFileName; }
    CharBitMap CopyBuffer() const { return m_CopyBuffer; }
    FontChar *SelFontChar(int index) const { return m_SelFontChar.at(index); }
    DetailsPanel *detailsPanel() const { return m_DetailsPanel; }

private:
    // Reaches the font reset, which no single user action leaves in place.
    friend class TestEditing;

    void createMenus();
    void Form_Load();

    void SelFontChar_GotFocus(int Index);
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

    void ResetFont();
    void UpdateTitle(const QString &path);
    bool LoadFontFile(const QString &path);
    bool SaveFontFile(const QString &path);
    void ExportAsm(const QString &path);
    // The font as the palette holds it; unapplied edits in the pixel editor are not part of it.
    FontImage fontImage() const;
    void reportFailure(const QString &text);

    Services m_services;
    QWidget *m_client = nullptr;
    DetailsPanel *m_DetailsPanel = nullptr;
    std::array<FontChar *, CharacterCount> m_SelFontChar {};
    frmAbout *m_about = nullptr;

    int m_SelectedIndex = -1;
    QString m_CurrentFileName;
    CharBitMap m_CopyBuffer {};
};
