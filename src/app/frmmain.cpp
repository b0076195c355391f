#include "frmmain.h"

#include "appicon.h"
#include "asmexport.h"
#include "detailspanel.h"
#include "fileio.h"
#include "fontchar.h"
#include "fontdialogs.h"
#include "formlayout.h"
#include "frmabout.h"
#include "launcher.h"
#include "messages.h"
#include "modtools.h"
#include "twips.h"
#include "version.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {
// Twips: the client area as the window is defined, before start-up fits it to the palette.
constexpr double InitialClientWidth = 7176, InitialClientHeight = 4680;
// Twips: the palette as defined, re-placed at start-up.
constexpr double DefinedCellPitch = 240, DefinedCellSize = 220;

const QColor SelectedColor(0x00, 0xFF, 0x00);
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

    for (int i = 0; i < CharacterCount; ++i) {
        auto *cell = new FontChar(i, m_client);
        cell->setObjectName(QStringLiteral("SelFontChar(%1)").arg(i));
        cell->setGeometry(twipsRect(DefinedCellPitch * (i % CellsPerRow),
                                    DefinedCellPitch * (i / CellsPerRow), DefinedCellSize,
                                    DefinedCellSize));
        connect(cell, &FontChar::gotFocus, this, &frmMain::SelFontChar_GotFocus);
        // A click selects even a cell that kept the focus while New or Open selected another.
        connect(cell, &FontChar::clicked, this, &frmMain::SelFontChar_GotFocus);
        m_SelFontChar[i] = cell;
    }
    // Created after the cells, so that the palette comes first when the window gets the focus.
    m_DetailsPanel = new DetailsPanel(m_client);
    createMenus();

    connect(m_DetailsPanel->btnOK(), &QPushButton::clicked, this, &frmMain::btnOK_Click);
    connect(m_DetailsPanel->btnClear(), &QPushButton::clicked, this, &frmMain::btnClear_Click);
    connect(m_DetailsPanel->btnInvert(), &QPushButton::clicked, this, &frmMain::btnInvert_Click);
    connect(m_DetailsPanel->btnCopy(), &QPushButton::clicked, this, &frmMain::btnCopy_Click);
    connect(m_DetailsPanel->btnPaste(), &QPushButton::clicked, this, &frmMain::btnPaste_Click);

    // Palette cells in code order, then the editor's controls.
    QList<QWidget *> chain(m_SelFontChar.begin(), m_SelFontChar.end());
    chain.append(m_DetailsPanel->tabChain());
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
    for (FontChar *cell : m_SelFontChar) {
        cell->setToolTip(charDescription(cell->index()));
        cell->Pack();
    }
    m_DetailsPanel->CurrentFontChar()->Pack();

    const QSizeF panelTwips(m_DetailsPanel->width() * TwipsPerPixel,
                            m_DetailsPanel->height() * TwipsPerPixel);
    const FormLayout layout = layoutForm(TwipsPerPixel, TwipsPerPixel, panelTwips);
    for (FontChar *cell : m_SelFontChar) {
        const QRectF &twips = layout.cells[cell->index()];
        cell->move(px(twips.left()), px(twips.top()));
    }
    m_DetailsPanel->move(px(layout.panelPos.x()), px(layout.panelPos.y()));
    m_client->setFixedSize(px(layout.clientWidth), px(layout.clientHeight));

    mnuNew_Click();
    m_CopyBuffer.fill(0);
}

void frmMain::SelFontChar_GotFocus(int Index)
{
    if (Index == m_SelectedIndex)
        return;
    m_DetailsPanel->ClearEditor();
    if (m_SelectedIndex >= 0)
        m_SelFontChar[m_SelectedIndex]->setBackColor(Qt::white);
    m_SelFontChar[Index]->setBackColor(SelectedColor);
    m_SelectedIndex = Index;
    m_DetailsPanel->LoadEditor(m_SelFontChar[Index]->BitMap());
    m_DetailsPanel->lblSelectedChar()->setText(m_SelFontChar[Index]->ToolTip());
}

void frmMain::btnOK_Click()
{
    if (m_SelectedIndex < 0)
        return;
    m_SelFontChar[m_SelectedIndex]->DrawChar(m_DetailsPanel->CurrentFontChar()->BitMap());
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
    clipboard->setImage(m_DetailsPanel->CurrentFontChar()->Picture());
}

void frmMain::btnPaste_Click()
{
    m_DetailsPanel->LoadEditor(m_CopyBuffer);
}

void frmMain::mnuNew_Click()
{
    ResetFont();
    SelFontChar_GotFocus(0);
}

void frmMain::mnuOpen_Click()
{
    const QString path = m_services.fileDialogs->ask(this, openFontRequest());
    if (path.isEmpty() || !LoadFontFile(path))
        return;
    UpdateTitle(path);
    SelFontChar_GotFocus(0);
}

void frmMain::mnuSave_Click()
{
    const QString path = m_services.fileDialogs->ask(this, saveFontRequest(m_CurrentFileName));
    if (path.isEmpty() || !SaveFontFile(path))
        return;
    UpdateTitle(path);
}

void frmMain::mnuExit_Click()
{
    close();
}

void frmMain::mneExport_Click()
{
    const QString path = m_services.fileDialogs->ask(this, exportRequest(m_CurrentFileName));
    if (!path.isEmpty())
        ExportAsm(path);
}

void frmMain::mnuAbout_Click()
{
    if (!m_about)
        m_about = new frmAbout(m_services, this);
    m_about->showModal();
}

void frmMain::ResetFont()
{
    for (FontChar *cell : m_SelFontChar)
        cell->Clear();
    m_SelectedIndex = -1;
    m_CurrentFileName.clear();
    m_DetailsPanel->ClearEditor();
    UpdateTitle(QString());
}

void frmMain::UpdateTitle(const QString &path)
{
    const EditorTitle title = editorTitleFor(path);
    m_CurrentFileName = title.fileName;
    setWindowTitle(title.caption);
}

// The file is read in full before anything changes, so a file that cannot be read costs
// nothing: the font, the selection and the title stay as they were.
bool frmMain::LoadFontFile(const QString &path)
{
    const ReadResult read = readFileStart(path, FontFileSize);
    if (!read.error.isEmpty()) {
        reportFailure(tr("The font file \"%1\" could not be opened.\n\n%2\n\nThe font in the "
                         "editor is unchanged.")
                          .arg(QDir::toNativeSeparators(path), read.error));
        return false;
    }
    const FontImage font = fontImageFromBytes(read.bytes);
    ResetFont();
    for (FontChar *cell : m_SelFontChar)
        cell->DrawChar(glyphOf(font, cell->index()));
    return true;
}

bool frmMain::SaveFontFile(const QString &path)
{
    const QString error = writeFileAtomically(path, fontFileBytes(fontImage()));
    if (!error.isEmpty()) {
        reportFailure(tr("The font file \"%1\" could not be saved.\n\n%2\n\nNo file was changed.")
                          .arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    return true;
}

void frmMain::ExportAsm(const QString &path)
{
    const QByteArray source = asmSource(fontImage(), m_CurrentFileName);
    const QString error = writeFileAtomically(path, source);
    if (!error.isEmpty()) {
        reportFailure(tr("The assembler file \"%1\" could not be written.\n\n%2\n\nNo file was "
                         "changed.")
                          .arg(QDir::toNativeSeparators(path), error));
        return;
    }
    // Shown for reading only; whether a viewer starts does not change the export.
    m_services.launcher->openFile(path);
}

FontImage frmMain::fontImage() const
{
    FontImage font {};
    for (const FontChar *cell : m_SelFontChar)
        setGlyph(font, cell->index(), cell->BitMap());
    return font;
}

void frmMain::reportFailure(const QString &text)
{
    m_services.messages->show(this, Messages::Icon::Warning, QString::fromUtf8(Version::Title),
                              text);
}
