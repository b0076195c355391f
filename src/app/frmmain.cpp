#include "app/frmmain.h"

#include "about/frmabout.h"
#include "editor/detailspanel.h"
#include "editor/formlayout.h"
#include "glyphcell/fontchar.h"
#include "glyphcell/twips.h"
#include "resources/appicon.h"

#include <QApplication>
#include <QClipboard>
#include <QLayout>
#include <QMimeData>
#include <QMenu>
#include <QMenuBar>

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
        connect(cell, &FontChar::arrowPressed, this, &frmMain::SelFontChar_ArrowKey);
        m_SelFontChar[i] = cell;
    }
    // Created after the cells, so that the palette comes first when the window gets the focus.
    m_DetailsPanel = new DetailsPanel(m_client);
    createMenus();

    connect(m_DetailsPanel, &DetailsPanel::applyClicked, this, &frmMain::btnOK_Click);
    connect(m_DetailsPanel, &DetailsPanel::clearClicked, this, &frmMain::btnClear_Click);
    connect(m_DetailsPanel, &DetailsPanel::invertClicked, this, &frmMain::btnInvert_Click);
    connect(m_DetailsPanel, &DetailsPanel::copyClicked, this, &frmMain::btnCopy_Click);
    connect(m_DetailsPanel, &DetailsPanel::pasteClicked, this, &frmMain::btnPaste_Click);

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
    if (m_SelectedIndex >= 0) {
        m_SelFontChar[m_SelectedIndex]->setBackColor(Qt::white);
        m_SelFontChar[m_SelectedIndex]->setSelected(false);
    }
    m_SelFontChar[Index]->setBackColor(SelectedColor);
    m_SelFontChar[Index]->setSelected(true);
    m_SelectedIndex = Index;
    m_DetailsPanel->LoadEditor(m_SelFontChar[Index]->BitMap());
    m_DetailsPanel->setSelectedCharText(m_SelFontChar[Index]->ToolTip());
}

// Left and Right step through the codes, Up and Down by a palette row; a step that would leave
// the palette goes nowhere. The focus moves, and with it the selection, as with Tab.
void frmMain::SelFontChar_ArrowKey(int Index, Qt::Key key)
{
    int target = Index;
    switch (key) {
    case Qt::Key_Left:
        target = Index - 1;
        break;
    case Qt::Key_Right:
        target = Index + 1;
        break;
    case Qt::Key_Up:
        target = Index - CellsPerRow;
        break;
    case Qt::Key_Down:
        target = Index + CellsPerRow;
        break;
    default:
        return;
    }
    if (target < 0 || target >= CharacterCount)
        return;
    m_SelFontChar[target]->setFocus(Qt::OtherFocusReason);
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
    // Beside the picture, the bytes as an export's db line writes them, for pasting into source.
    auto *data = new QMimeData; // the clipboard takes ownership
    data->setImageData(m_DetailsPanel->CurrentFontChar()->Picture());
    data->setText(glyphBytesText(m_CopyBuffer));
    QClipboard *clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setMimeData(data);
}

void frmMain::btnPaste_Click()
{
    m_DetailsPanel->LoadEditor(m_CopyBuffer);
}

void frmMain::mnuNew_Click()
{
    m_fileCommands.newFont();
}

void frmMain::mnuOpen_Click()
{
    m_fileCommands.open();
}

void frmMain::mnuSave_Click()
{
    m_fileCommands.save();
}

void frmMain::mnuExit_Click()
{
    close();
}

void frmMain::mneExport_Click()
{
    m_exportCommand.run();
}

void frmMain::mnuAbout_Click()
{
    if (!m_about)
        m_about = new frmAbout(m_services, this);
    m_about->showModal();
}

void frmMain::ResetFont()
{
    m_fileCommands.resetFont();
}

void frmMain::UpdateTitle(const QString &path)
{
    m_fileCommands.updateTitle(path);
}

bool frmMain::LoadFontFile(const QString &path)
{
    return m_fileCommands.loadFontFile(path);
}

bool frmMain::SaveFontFile(const QString &path)
{
    return m_fileCommands.saveFontFile(path);
}

void frmMain::ExportAsm(const QString &path)
{
    m_exportCommand.exportAsm(path);
}

FontImage frmMain::fontImage() const
{
    FontImage font {};
    for (const FontChar *cell : m_SelFontChar)
        setGlyph(font, cell->index(), cell->BitMap());
    return font;
}

void frmMain::setFontImage(const FontImage &font)
{
    for (FontChar *cell : m_SelFontChar)
        cell->DrawChar(glyphOf(font, cell->index()));
}

void frmMain::blankFont()
{
    for (FontChar *cell : m_SelFontChar)
        cell->Clear();
    // Clear() has already whitened the selected cell; only its state is left to take back.
    if (m_SelectedIndex >= 0)
        m_SelFontChar[m_SelectedIndex]->setSelected(false);
    m_SelectedIndex = -1;
    m_DetailsPanel->ClearEditor();
}

void frmMain::selectFirstCharacter()
{
    // The focus goes to cell 0 as well: otherwise, when a dialog closes, the focus returns to the
    // cell that had it, and that cell's focus handler would select it again.
    m_SelFontChar[0]->setFocus(Qt::OtherFocusReason);
    SelFontChar_GotFocus(0);
}

void frmMain::setTitle(const EditorTitle &title)
{
    m_CurrentFileName = title.fileName;
    // Qt reads "[*]" in a title as the modified marker; written twice it shows as itself.
    setWindowTitle(QString(title.caption).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}
