#include "app/frmmain.h"

#include "about/frmabout.h"
#include "editor/detailspanel.h"
#include "editor/fontdocument.h"
#include "editor/formlayout.h"
#include "editor/glyphclipboard.h"
#include "export/exportcommand.h"
#include "fontfile/filecommands.h"
#include "glyphcell/fontchar.h"
#include "glyphcell/twips.h"
#include "resources/appicon.h"

#include "core/version.h"
#include "platform/messages.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QClipboard>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>

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
    setAcceptDrops(true);

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setFixedSize(px(InitialClientWidth), px(InitialClientHeight));
    setCentralWidget(m_client);

    m_document = new FontDocument(this);
    m_palette = new FontPalette(m_document, m_client);
    // Created after the cells, so that the palette comes first when the window gets the focus.
    m_DetailsPanel = new DetailsPanel(m_document, m_client);
    createMenus();

    connect(m_document, &FontDocument::fileChanged, this, &frmMain::UpdateTitle);
    connect(m_document->undoStack(), &QUndoStack::indexChanged, this, &frmMain::updateEditMenu);
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

    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    m_undo = edit->addAction(QString(), m_document, &FontDocument::undo);
    m_undo->setObjectName(QStringLiteral("mnuUndo"));
    m_undo->setShortcut(QKeySequence::Undo);
    m_redo = edit->addAction(QString(), m_document, &FontDocument::redo);
    m_redo->setObjectName(QStringLiteral("mnuRedo"));
    // Ctrl+Y as on Windows, and Ctrl+Shift+Z as elsewhere, on every system.
    m_redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    updateEditMenu();

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

    // New without a step: there is nothing before it to go back to.
    ResetFont();
    m_palette->selectAndFocus(0);
    m_CopyBuffer.fill(0);
}

void frmMain::btnOK_Click()
{
    m_document->apply();
}

void frmMain::btnClear_Click()
{
    m_document->clearEditor();
}

void frmMain::btnInvert_Click()
{
    m_document->invertEditor();
}

void frmMain::btnCopy_Click()
{
    // The buffer is set before the clipboard is touched, so Paste works whatever the clipboard
    // does.
    m_CopyBuffer = m_document->editor().grid;
    QClipboard *clipboard = QApplication::clipboard();
    clipboard->clear();
    // The clipboard takes ownership.
    clipboard->setMimeData(
        glyphMimeData(m_CopyBuffer, m_DetailsPanel->CurrentFontChar()->Picture()).release());
}

void frmMain::btnPaste_Click()
{
    m_document->paste(m_CopyBuffer);
}

void frmMain::mnuNew_Click()
{
    m_document->newFont();
    m_palette->selectAndFocus(0);
}

void frmMain::mnuOpen_Click()
{
    showOpenedFont(openFont(this, m_services, m_document->file().folder));
}

void frmMain::openFile(const QString &path)
{
    showOpenedFont(openGivenFile(this, m_services, path));
}

void frmMain::showOpenedFont(const std::optional<OpenedFont> &opened)
{
    if (!opened)
        return;
    if (opened->imported)
        m_document->replaceFont(tr("Import"), opened->font, FontFile::importedFrom(opened->path));
    else
        m_document->replaceFont(tr("Open"), opened->font, FontFile::fontFile(opened->path));
    m_palette->selectAndFocus(0);
    if (opened->imported)
        m_services.messages->show(this, Messages::Icon::None, QString::fromUtf8(Version::Title),
                                  QDir::toNativeSeparators(opened->path) + QStringLiteral(":\n")
                                      + opened->report);
}

// One file at a time, as the command line takes it.
std::optional<QString> frmMain::droppedFile(const QMimeData *data)
{
    if (!data || data->urls().size() != 1 || !data->urls().constFirst().isLocalFile())
        return std::nullopt;
    return data->urls().constFirst().toLocalFile();
}

void frmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (droppedFile(event->mimeData()))
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent *event)
{
    const std::optional<QString> file = droppedFile(event->mimeData());
    if (!file)
        return;
    event->acceptProposedAction();
    // After the drop has finished, so that the source program is not kept waiting on a message.
    QMetaObject::invokeMethod(
        this, [this, path = *file] { openFile(path); }, Qt::QueuedConnection);
}

void frmMain::mnuSave_Click()
{
    const FontFile &file = m_document->file();
    const QString proposed
        = file.title.fileName.isEmpty() ? file.proposedName : file.title.fileName;
    if (const std::optional<SavedFont> saved
        = saveFont(this, m_services, m_document->font(), proposed, file.folder))
        m_document->rename(FontFile::fontFile(saved->path));
}

void frmMain::mnuExit_Click()
{
    close();
}

void frmMain::mneExport_Click()
{
    exportFont(this, m_services, m_document->font(), CurrentFileName(), m_document->file().folder);
}

void frmMain::mnuAbout_Click()
{
    if (!m_about)
        m_about = new frmAbout(m_services, this);
    m_about->showModal();
}

QString frmMain::CurrentFileName() const
{
    return m_document->file().title.fileName;
}

void frmMain::ResetFont()
{
    m_document->reset();
}

void frmMain::updateEditMenu()
{
    const QUndoStack *stack = m_document->undoStack();
    m_undo->setEnabled(stack->canUndo());
    m_undo->setText(stack->canUndo() ? tr("&Undo %1").arg(stack->undoText()) : tr("&Undo"));
    m_redo->setEnabled(stack->canRedo());
    m_redo->setText(stack->canRedo() ? tr("&Redo %1").arg(stack->redoText()) : tr("&Redo"));
}

void frmMain::UpdateTitle()
{
    // Qt reads "[*]" in a title as the modified marker; written twice it shows as itself.
    setWindowTitle(QString(m_document->file().title.caption)
                       .replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}
