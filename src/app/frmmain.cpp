#include "app/frmmain.h"

#include "about/frmabout.h"
#include "editor/detailspanel.h"
#include "editor/fontdocument.h"
#include "editor/formlayout.h"
#include "editor/glyphclipboard.h"
#include "core/failure.h"
#include "export/exportcommand.h"
#include "fontdialogs/importdialog.h"
#include "fontdialogs/textpreviewwindow.h"
#include "fontdialogs/transformdialog.h"
#include "fontfile/filecommands.h"
#include "glyphcell/fontchar.h"
#include "glyphcell/twips.h"
#include "platform/filedialogs.h"
#include "platform/messages.h"
#include "core/version.h"
#include "resources/appicon.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStandardPaths>
#include <QUndoStack>

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
    // Another program's font goes through the Import dialog, which shows what it found before it
    // replaces anything; a .pf file, or content no format claims, opens as Open opens it.
    if (isOtherProgramsFont(path))
        importFile(path);
    else
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
    m_document->replaceFont(tr("Import"), dialog.font(), FontFile::importedFrom(path));
    m_palette->selectAndFocus(0);
}

void frmMain::mnuExportAs_Click()
{
    // The font's folder, else the user's documents, else home.
    QString folder = m_document->file().folder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    ExportAsDialog dialog(m_document->font(), CurrentFileName(), folder, m_exportChoices,
                          m_services, this);
    if (dialog.exec() == QDialog::Accepted)
        m_exportChoices = dialog.choices();
}

void frmMain::mnuTransform_Click()
{
    TransformDialog dialog(m_document->font(), m_document->selected(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QList<GlyphChange> changes;
    for (int code = 0; code < CharacterCount; ++code) {
        const CharBitMap glyph = glyphOf(dialog.transformed(), code);
        if (glyph != m_document->glyph(code))
            changes.append({code, glyph});
    }
    m_document->changeGlyphs(dialog.stepName(), changes);
}

void frmMain::mnuTextPreview_Click()
{
    if (!m_textPreview) {
        m_textPreview = new TextPreviewWindow(m_services, this);
        m_textPreview->setGlyphs(m_document->font());
        connect(m_document, &FontDocument::glyphsChanged, m_textPreview,
                [this] { m_textPreview->setGlyphs(m_document->font()); });
        placeTextPreview();
    }
    m_textPreview->show();
    m_textPreview->raise();
    m_textPreview->activateWindow();
}

void frmMain::placeTextPreview()
{
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
