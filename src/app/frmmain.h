#pragma once

#include "core/charbitmap.h"
#include "core/fontimage.h"
#include "export/exportcommand.h"
#include "export/exporthost.h"
#include "fontfile/filecommands.h"
#include "fontfile/filehost.h"
#include "platform/services.h"

#include <QMainWindow>

#include <array>

class DetailsPanel;
class FontChar;
class frmAbout;

// The editor's one window: owns the palette of 256 glyph cells, the pixel editor panel and
// the menu, and the state they share: the selection, the current file name and the copy buffer.
class frmMain final : public QMainWindow, private FileHost, private ExportHost
{
    Q_OBJECT

public:
    explicit frmMain(const Services &services, QWidget *parent = nullptr);

    int SelectedIndex() const { return m_SelectedIndex; }
    QString CurrentFileName() const { return m_CurrentFileName; }
    CharBitMap CopyBuffer() const { return m_CopyBuffer; }
    FontChar *SelFontChar(int index) const { return m_SelFontChar.at(index); }
    DetailsPanel *detailsPanel() const { return m_DetailsPanel; }

    // Every character blank and none selected: a state no single user action leaves in place.
    void ResetFont();

private:
    void createMenus();
    void Form_Load();

    void SelFontChar_GotFocus(int Index);
    void SelFontChar_ArrowKey(int Index, Qt::Key key);
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

    void UpdateTitle(const QString &path);
    bool LoadFontFile(const QString &path);
    bool SaveFontFile(const QString &path);
    void ExportAsm(const QString &path);

    // The window as the File and Export commands see it.
    FontImage fontImage() const override;
    void setFontImage(const FontImage &font) override;
    void blankFont() override;
    void selectFirstCharacter() override;
    void setTitle(const EditorTitle &title) override;
    QString currentFileName() const override { return m_CurrentFileName; }
    QWidget *dialogParent() override { return this; }

    Services m_services;
    FileCommands m_fileCommands {*this, m_services};
    ExportCommand m_exportCommand {*this, m_services};
    QWidget *m_client = nullptr;
    DetailsPanel *m_DetailsPanel = nullptr;
    std::array<FontChar *, CharacterCount> m_SelFontChar {};
    frmAbout *m_about = nullptr;

    int m_SelectedIndex = -1;
    QString m_CurrentFileName;
    CharBitMap m_CopyBuffer {};
};
