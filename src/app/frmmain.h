#pragma once

#include "core/charbitmap.h"
#include "core/modtools.h"
#include "editor/fontpalette.h"
#include "platform/services.h"

#include <QMainWindow>

#include <optional>

class DetailsPanel;
class FontChar;
class FontDocument;
class QAction;
class QMimeData;
class frmAbout;
struct OpenedFont;

// The editor's one window: the palette, the pixel editor panel, the title and the menus, all
// views of one document; and the copy buffer, which is the window's, not the font's.
class frmMain final : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(const Services &services, QWidget *parent = nullptr);

    int SelectedIndex() const { return m_palette->SelectedIndex(); }
    QString CurrentFileName() const;
    CharBitMap CopyBuffer() const { return m_CopyBuffer; }
    FontChar *SelFontChar(int index) const { return m_palette->SelFontChar(index); }
    DetailsPanel *detailsPanel() const { return m_DetailsPanel; }
    FontDocument *document() const { return m_document; }

    // Opens a file given to the program, named on its command line or dropped on the window: a
    // .pf file as Open opens it, another program's font as the companion's import reads it.
    void openFile(const QString &path);

    // Every character blank and none selected: a state no single user action leaves in place.
    void ResetFont();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    static std::optional<QString> droppedFile(const QMimeData *data);
    void createMenus();
    void Form_Load();

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
    void updateEditMenu();

    // Shows the document's caption.
    void UpdateTitle();

    Services m_services;
    FontDocument *m_document = nullptr;
    QWidget *m_client = nullptr;
    FontPalette *m_palette = nullptr;
    DetailsPanel *m_DetailsPanel = nullptr;
    frmAbout *m_about = nullptr;
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;

    CharBitMap m_CopyBuffer {};
};
