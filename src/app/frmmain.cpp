#include "app/frmmain.h"

#include "about/frmabout.h"
#include "editor/detailspanel.h"
#include "editor/formlayout.h"
#include "editor/glyphclipboard.h"
#include "export/exportcommand.h"
#include "fontdialogs/importdialog.h"
#include "fontdialogs/textpreviewwindow.h"
#include "fontdialogs/transformdialog.h"
#include "fontfile/filecommands.h"
#include "glyphcell/fontchar.h"
#include "glyphcell/twips.h"
#include "resources/appicon.h"

#include "core/failure.h"
#include "platform/filedialogs.h"
#include "platform/messages.h"

#include <QApplication>
#include <QClipboard>
#include <QLayout>
#include <QMenu>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QStandardPaths>
#include <QScreen>

namespace {
// Twips: the client area as the window is defined, before start-up fits it to the palette.
constexpr double InitialClientWidth = 7176, InitialClientHeight = 4680;
// Pixels between the main window and the text preview placed beside it.
constexpr int PreviewGap = 8;
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

    // Its access key is O: F, E and H open the other menus, and A, L, I, C and P press the
    // editor's buttons.
    QMenu *font = menuBar()->addMenu(tr("F&ont"));
    font->setObjectName(QStringLiteral("mnuFont"));
    addItem(font, "mnuImport", tr("&Import..."), &frmMain::mnuImport_Click);
    addItem(font, "mnuExportAs", tr("Export &As..."), &frmMain::mnuExportAs_Click);
    font->addSeparator();
    addItem(font, "mnuTransform", tr("&Transform..."), &frmMain::mnuTransform_Click);
    addItem(font, "mnuTextPreview", tr("Text &Preview"), &frmMain::mnuTextPreview_Click);

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
    fontChanged();
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
    fontChanged();
    m_palette->selectAndFocus(0);
}

void frmMain::mnuOpen_Click()
{
    const std::optional<OpenedFont> opened = openFont(this, m_services);
    if (!opened)
        return;
    ResetFont();
    m_palette->setFont(opened->font);
    UpdateTitle(opened->title);
    m_palette->selectAndFocus(0);
    fontChanged();
}

void frmMain::mnuSave_Click()
{
    const QString proposed = m_importedName.isEmpty() ? m_CurrentFileName : m_importedName;
    if (const std::optional<EditorTitle> saved
        = saveFont(this, m_services, m_palette->font(), proposed))
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

void frmMain::mnuImport_Click()
{
    FileDialogRequest request;
    request.title = tr("Import Font");
    request.filters = importFilters();
    request.allFilesFilter = request.filters.last();
    request.mustExist = true;
    if (const QString path = m_services.fileDialogs->ask(this, request); !path.isEmpty())
        importFile(path);
}

void frmMain::importFile(const QString &path)
{
    const ImportSource source = readImportSource(path);
    if (!source.error.isEmpty()) {
        m_services.messages->show(this, Messages::Icon::Warning, windowTitle(),
                                  FailureText::message(FileTask::OpenFont, path, source.error));
        return;
    }
    ImportDialog dialog(path, source.bytes, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    replaceFont(dialog.font());
    // The font no longer comes from a .pf file: Save proposes the source's name as one.
    UpdateTitle(editorTitleFor(QString()));
    m_importedName = fontBaseName(path) + QStringLiteral(".pf");
}

void frmMain::mnuExportAs_Click()
{
    // The window keeps no folder of its font: the user's documents, else home.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    ExportAsDialog dialog(m_palette->font(), m_CurrentFileName, folder, m_exportChoices, m_services,
                          this);
    if (dialog.exec() == QDialog::Accepted)
        m_exportChoices = dialog.choices();
}

void frmMain::mnuTransform_Click()
{
    TransformDialog dialog(m_palette->font(), m_palette->SelectedIndex(), this);
    if (dialog.exec() == QDialog::Accepted)
        replaceFont(dialog.transformed());
}

void frmMain::mnuTextPreview_Click()
{
    if (!m_textPreview) {
        m_textPreview = new TextPreviewWindow(m_services, this);
        m_textPreview->setGlyphs(m_palette->font());
        // Beside the main window where the screen has room, else below it, and on the screen.
        m_textPreview->adjustSize();
        const QRect screen = this->screen()->availableGeometry();
        const QSize size = m_textPreview->frameGeometry().size();
        QPoint place = frameGeometry().topRight() + QPoint(PreviewGap, 0);
        if (place.x() + size.width() > screen.right())
            place = frameGeometry().bottomLeft() + QPoint(0, PreviewGap);
        place.setX(qBound(screen.left(), place.x(), screen.right() - size.width()));
        place.setY(qBound(screen.top(), place.y(), screen.bottom() - size.height()));
        m_textPreview->move(place);
    }
    m_textPreview->show();
    m_textPreview->raise();
    m_textPreview->activateWindow();
}

void frmMain::replaceFont(const FontImage &font)
{
    m_palette->setFont(font);
    if (const int selected = m_palette->SelectedIndex(); selected >= 0)
        showSelectedCharacter(selected, glyphOf(font, selected));
    fontChanged();
}

void frmMain::fontChanged()
{
    if (m_textPreview)
        m_textPreview->setGlyphs(m_palette->font());
}

void frmMain::ResetFont()
{
    m_palette->clear();
    m_DetailsPanel->ClearEditor();
    UpdateTitle(editorTitleFor(QString()));
}

void frmMain::UpdateTitle(const EditorTitle &title)
{
    m_importedName.clear();
    m_CurrentFileName = title.fileName;
    // Qt reads "[*]" in a title as the modified marker; written twice it shows as itself.
    setWindowTitle(QString(title.caption).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}
