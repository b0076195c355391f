#include "app/frmmain.h"

#include "about/frmabout.h"
#include "editor/detailspanel.h"
#include "editor/formlayout.h"
#include "editor/glyphclipboard.h"
#include "export/exportcommand.h"
#include "fontfile/filecommands.h"
#include "glyphcell/fontchar.h"
#include "glyphcell/twips.h"
#include "resources/appicon.h"

#include <QApplication>
#include <QClipboard>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>

namespace {
// Twips: the client area as the window is defined, before start-up fits it to the palette.
constexpr double InitialClientWidth = 7176, InitialClientHeight = 4680;
} // namespace

frmMain::frmMain(const Services &services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmMain"));
    // Minimise and close only: the window has a fixed size.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setWindowTitle(tr("8x8 ROM Font Editor"));
    setWindowIcon(appIcon());

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setFixedSize(px(InitialClientWidth), px(InitialClientHeight));
    setCentralWidget(m_client);

    m_palette = new FontPalette(m_client);
    // Created after the cells, so that the palette comes first when the window gets the focus.
    m_DetailsPanel = new DetailsPanel(m_client);
    createMenus();

    connect(m_palette, &FontPalette::characterSelected, this, &frmMain::showSelectedCharacter);
    connect(m_DetailsPanel, &DetailsPanel::applyClicked, this, &frmMain::btnOK_Click);
    connect(m_DetailsPanel, &DetailsPanel::clearClicked, this, &frmMain::btnClear_Click);
    connect(m_DetailsPanel, &DetailsPanel::invertClicked, this, &frmMain::btnInvert_Click);
    connect(m_DetailsPanel, &DetailsPanel::copyClicked, this, &frmMain::btnCopy_Click);
    connect(m_DetailsPanel, &DetailsPanel::pasteClicked, this, &frmMain::btnPaste_Click);

    // Palette cells in code order, then the editor's controls.
    const QList<QWidget *> chain = m_palette->tabChain() + m_DetailsPanel->tabChain();
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    Form_Load();
    // Fixed before the first show, so that the window manager offers no resizing or maximising.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    layout()->activate();
}

void frmMain::createMenus()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    const auto addItem = [this](QMenu *menu, const char *name, const QString &caption,
                                void (frmMain::*handler)()) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
    };
    addItem(file, "mnuNew", tr("&New"), &frmMain::mnuNew_Click);
    addItem(file, "mnuOpen", tr("&Open"), &frmMain::mnuOpen_Click);
    file->addSeparator()->setObjectName(QStringLiteral("mnuSep1"));
    addItem(file, "mnuSave", tr("&Save"), &frmMain::mnuSave_Click);
    addItem(file, "mneExport", tr("&Export"), &frmMain::mneExport_Click);
    file->addSeparator()->setObjectName(QStringLiteral("mnuSep2"));
    addItem(file, "mnuExit", tr("E&xit"), &frmMain::mnuExit_Click);

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    addItem(help, "mnuAbout", tr("&About"), &frmMain::mnuAbout_Click);
}

void frmMain::Form_Load()
{
    m_DetailsPanel->CurrentFontChar()->Pack();
    const QSizeF panelTwips(m_DetailsPanel->width() * TwipsPerPixel,
                            m_DetailsPanel->height() * TwipsPerPixel);
    const FormLayout layout = layoutForm(TwipsPerPixel, TwipsPerPixel, panelTwips);
    m_palette->place(layout);
    m_DetailsPanel->move(px(layout.panelPos.x()), px(layout.panelPos.y()));
    m_client->setFixedSize(px(layout.clientWidth), px(layout.clientHeight));

    mnuNew_Click();
    m_CopyBuffer.fill(0);
}

// Selecting another character discards the editor's unapplied edits and loads that character.
void frmMain::showSelectedCharacter(int code, const CharBitMap &glyph)
{
    m_DetailsPanel->ClearEditor();
    m_DetailsPanel->LoadEditor(glyph);
    m_DetailsPanel->setSelectedCharText(charDescription(code));
}

void frmMain::btnOK_Click()
{
    if (m_palette->SelectedIndex() < 0)
        return;
    m_palette->setGlyph(m_palette->SelectedIndex(), m_DetailsPanel->CurrentFontChar()->BitMap());
}

void frmMain::btnClear_Click()
{
    m_DetailsPanel->ClearEditor();
}

void frmMain::btnInvert_Click()
{
    m_DetailsPanel->InvertEditor();
}

void frmMain::btnCopy_Click()
{
    // The buffer is set before the clipboard is touched, so Paste works whatever the clipboard
    // does.
    m_CopyBuffer = m_DetailsPanel->CurrentFontChar()->BitMap();
    QClipboard *clipboard = QApplication::clipboard();
    clipboard->clear();
    // The clipboard takes ownership.
    clipboard->setMimeData(
        glyphMimeData(m_CopyBuffer, m_DetailsPanel->CurrentFontChar()->Picture()).release());
}

void frmMain::btnPaste_Click()
{
    m_DetailsPanel->LoadEditor(m_CopyBuffer);
}

void frmMain::mnuNew_Click()
{
    ResetFont();
    m_palette->selectAndFocus(0);
}

void frmMain::mnuOpen_Click()
{
    showOpenedFont(openFont(this, m_services));
}

void frmMain::openFile(const QString &path)
{
    showOpenedFont(openFontFile(this, m_services, path));
}

void frmMain::showOpenedFont(const std::optional<OpenedFont> &opened)
{
    if (!opened)
        return;
    ResetFont();
    m_palette->setFont(opened->font);
    UpdateTitle(opened->title);
    m_palette->selectAndFocus(0);
}

void frmMain::mnuSave_Click()
{
    if (const std::optional<EditorTitle> saved
        = saveFont(this, m_services, m_palette->font(), m_CurrentFileName))
        UpdateTitle(*saved);
}

void frmMain::mnuExit_Click()
{
    close();
}

void frmMain::mneExport_Click()
{
    exportFont(this, m_services, m_palette->font(), m_CurrentFileName);
}

void frmMain::mnuAbout_Click()
{
    if (!m_about)
        m_about = new frmAbout(m_services, this);
    m_about->showModal();
}

void frmMain::ResetFont()
{
    m_palette->clear();
    m_DetailsPanel->ClearEditor();
    UpdateTitle(editorTitleFor(QString()));
}

void frmMain::UpdateTitle(const EditorTitle &title)
{
    m_CurrentFileName = title.fileName;
    // Qt reads "[*]" in a title as the modified marker; written twice it shows as itself.
    setWindowTitle(QString(title.caption).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}
