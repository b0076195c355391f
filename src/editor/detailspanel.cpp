#include "editor/detailspanel.h"

#include "editor/fontdocument.h"
#include "editor/pixelsquare.h"
#include "glyphcell/fontchar.h"
#include "glyphcell/glyphcolors.h"
#include "glyphcell/twips.h"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {
// Twips, relative to the panel (or, for the squares, to the grid's interior).
constexpr double PanelLeft = 120, PanelTop = 2280, PanelWidth = 6975, PanelHeight = 2295;
constexpr double ButtonLeft = 5760, ButtonWidth = 1092, ButtonHeight = 252;
constexpr double GridLeft = 2400, GridTop = 240, GridSize = 1965;
constexpr double SquarePitch = 240, SquareSize = 255;
constexpr double RowLabelLeft = 2280, DecLeft = 4320, HexLeft = 4800, ValueWidth = 375;
constexpr double DigitWidth = 135, LabelHeight = 255, FirstRowTop = 240, ColumnLabelRight = 4200;
constexpr double PreviewLeft = 5400, PreviewTop = 240, PreviewSize = 220;
constexpr double SelectedWidth = 2055;

// The form was drawn for an 8-point dialog font on a 96 dots-per-inch screen, 11 pixels, and
// the selected character's 7.8 points, 10 pixels. The panel's texts keep these pixel sizes
// whatever the desktop's point size, and get smaller only if a wide family would not fit.
constexpr int DesignPixelSize = 11;
constexpr int SelectedDesignPixelSize = 10;
constexpr int SmallestPixelSize = 6;
// Pixels: kept free between a text and the grid, and between neighbouring labels.
constexpr int Gap = 1;
// Centred in a 17-pixel label, a text at most 14 pixels tall keeps a free pixel above the grid
// and between the rows' labels, which stand 16 pixels apart.
constexpr int LabelTextHeight = 14;
// Pixels of a push button's frame and padding beside its caption.
constexpr int ButtonPadding = 12;

// Every text a box may show, and the pixels it may take.
struct TextBox
{
    QStringList texts;
    QSize room;
};

// The characters' advances added up: the font engine keeps each character's, so checking all
// 256 values and names a label may show costs little at start-up, where laying out every text
// would not. Captions with an access key are laid out, as the key's '&' is not drawn.
int textWidth(const QFontMetrics &metrics, const QString &text)
{
    if (text.contains(QLatin1Char('&')))
        return metrics.size(Qt::TextSingleLine | Qt::TextShowMnemonic, text).width();
    int width = 0;
    for (const QChar c : text)
        width += metrics.horizontalAdvance(c);
    return width;
}

bool fitsAll(const QFont &font, const QList<TextBox> &boxes)
{
    const QFontMetrics metrics(font);
    const int height = metrics.size(Qt::TextSingleLine, QStringLiteral("0")).height();
    for (const TextBox &box : boxes) {
        if (height > box.room.height())
            return false;
        for (const QString &text : box.texts) {
            if (textWidth(metrics, text) > box.room.width())
                return false;
        }
    }
    return true;
}

int fittingPixelSize(QFont font, int largest, const QList<TextBox> &boxes)
{
    int size = largest;
    for (; size > SmallestPixelSize; --size) {
        font.setPixelSize(size);
        if (fitsAll(font, boxes))
            break;
    }
    return size;
}

QString indexed(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}
} // namespace

DetailsPanel::DetailsPanel(FontDocument *document, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
{
    setObjectName(QStringLiteral("DetailsPanel"));
    setGeometry(twipsRect(PanelLeft, PanelTop, PanelWidth, PanelHeight));
    setFocusPolicy(Qt::StrongFocus);

    m_btnOK = addButton(QStringLiteral("btnOK"), tr("&Apply"), 240, &DetailsPanel::applyClicked);
    m_btnClear
        = addButton(QStringLiteral("btnClear"), tr("C&lear"), 600, &DetailsPanel::clearClicked);
    m_btnCopy = addButton(QStringLiteral("btnCopy"), tr("&Copy"), 1320, &DetailsPanel::copyClicked);
    m_btnPaste
        = addButton(QStringLiteral("btnPaste"), tr("&Paste"), 1680, &DetailsPanel::pasteClicked);
    m_btnInvert
        = addButton(QStringLiteral("btnInvert"), tr("&Invert"), 960, &DetailsPanel::invertClicked);

    // Black behind the squares; neighbouring squares overlap by one pixel so that their
    // borders make single grid lines.
    m_picDetailBack = new QFrame(this);
    m_picDetailBack->setObjectName(QStringLiteral("picDetailBack"));
    m_picDetailBack->setGeometry(twipsRect(GridLeft, GridTop, GridSize, GridSize));
    m_picDetailBack->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_picDetailBack->setLineWidth(1);
    m_picDetailBack->setFocusPolicy(Qt::StrongFocus);
    m_picDetailBack->setAutoFillBackground(true);
    // The frame and the squares' borders draw the grid lines in the colour the grid's palette
    // gives as its text colour.
    QPalette back = m_picDetailBack->palette();
    back.setColor(QPalette::Window, Qt::black);
    back.setColor(QPalette::WindowText, QColor::fromRgb(GridLineRgb));
    m_picDetailBack->setPalette(back);
    const int border = m_picDetailBack->frameWidth();
    for (int i = 0; i < GlyphSize * GlyphSize; ++i) {
        auto *square = new PixelSquare(i, m_picDetailBack);
        square->setObjectName(indexed("picPixel", i));
        QRect geometry = twipsRect(SquarePitch * (i % GlyphSize), SquarePitch * (i / GlyphSize),
                                   SquareSize, SquareSize);
        square->setGeometry(geometry.translated(border, border));
        connect(square, &PixelSquare::clicked, document, &FontDocument::togglePixel);
        connect(square, &PixelSquare::pressed, document, &FontDocument::beginStroke);
        connect(square, &PixelSquare::dragged, this, &DetailsPanel::strokeTo);
        connect(square, &PixelSquare::released, document, &FontDocument::endStroke);
        connect(square, &PixelSquare::arrowPressed, this, &DetailsPanel::moveSquareFocus);
        m_picPixel[i] = square;
    }

    m_currentFontChar = new FontChar(-1, this);
    m_currentFontChar->setObjectName(QStringLiteral("CurrentFontChar"));
    m_currentFontChar->setGeometry(twipsRect(PreviewLeft, PreviewTop, PreviewSize, PreviewSize));
    m_currentFontChar->setAccessibleName(tr("Preview"));

    for (int r = 0; r < GlyphSize; ++r) {
        const double top = FirstRowTop + SquarePitch * r;
        m_lblRow[r] = addLabel(indexed("lblRow", r), QString::number(r),
                               twipsRect(RowLabelLeft, top, DigitWidth, LabelHeight));
    }
    // Value labels are right-aligned. Each reaches to just before the label on its right, the
    // defined width suiting only a small font; the decimal text still keeps clear of the grid.
    for (int r = 0; r < GlyphSize; ++r) {
        const double top = FirstRowTop + SquarePitch * r;
        QRect geometry = twipsRect(DecLeft, top, ValueWidth, LabelHeight);
        geometry.setRight(px(HexLeft) - 1 - 2 * Gap);
        m_lblDecValue[r] = addLabel(indexed("lblDecValue", r), QStringLiteral("0"), geometry);
        m_lblDecValue[r]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_lblDecValue[r]->setAccessibleDescription(tr("Row %1, decimal").arg(r));
    }
    for (int r = 0; r < GlyphSize; ++r) {
        const double top = FirstRowTop + SquarePitch * r;
        QRect geometry = twipsRect(HexLeft, top, ValueWidth, LabelHeight);
        geometry.setRight(px(PreviewLeft) - 1 - 2 * Gap);
        m_lblHexValue[r] = addLabel(indexed("lblHexValue", r), QStringLiteral("0x00"), geometry);
        m_lblHexValue[r]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_lblHexValue[r]->setAccessibleDescription(tr("Row %1, hexadecimal").arg(r));
    }
    // Column captions are bit numbers: bit 7 stands over the leftmost column.
    for (int c = 0; c < GlyphSize; ++c) {
        m_lblCol[c]
            = addLabel(indexed("lblCol", c), QString::number(c),
                       twipsRect(ColumnLabelRight - SquarePitch * c, 0, DigitWidth, LabelHeight));
    }

    m_lblSelectedChar = addLabel(QStringLiteral("lblSelectedChar"), QString(),
                                 twipsRect(0, 0, SelectedWidth, LabelHeight));
    m_lblSelectedChar->setAccessibleDescription(tr("Selected character"));
    fitTexts();
    connect(document, &FontDocument::editorChanged, this, &DetailsPanel::showEditor);
    showEditor();
}

void DetailsPanel::fitTexts()
{
    const QRect grid = m_picDetailBack->geometry();
    QStringList digits, decimals, hexes, descriptions;
    for (int i = 0; i < GlyphSize; ++i)
        digits << QString::number(i);
    for (int v = 0; v < CharacterCount; ++v) {
        decimals << QString::number(v);
        hexes << hexByte(v);
        descriptions << charDescription(v);
    }
    QList<TextBox> boxes {
        {digits, {grid.left() - m_lblRow[0]->x() - Gap, LabelTextHeight}},
        {digits, {m_lblCol[0]->width(), LabelTextHeight}},
        {decimals, {m_lblDecValue[0]->geometry().right() - grid.right() - Gap, LabelTextHeight}},
        {hexes, {m_lblHexValue[0]->width(), LabelTextHeight}},
    };
    for (QPushButton *button : {m_btnOK, m_btnClear, m_btnInvert, m_btnCopy, m_btnPaste})
        boxes.append({{button->text()}, {button->width() - ButtonPadding, button->height()}});

    // Only the size is the panel's own: family and style keep following the desktop.
    const QFont desktop = parentWidget() ? parentWidget()->font() : QApplication::font();
    QFont panelFont;
    panelFont.setPixelSize(fittingPixelSize(desktop, DesignPixelSize, boxes));
    setFont(panelFont);

    // Only where installed: asking for a missing family costs a slow fallback search.
    QFont bold = desktop;
    if (QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif")))
        bold.setFamily(QStringLiteral("MS Sans Serif"));
    bold.setWeight(QFont::Bold);
    const QList<TextBox> selected {{descriptions, {m_lblSelectedChar->width(), LabelTextHeight}}};
    bold.setPixelSize(fittingPixelSize(bold, SelectedDesignPixelSize, selected));
    m_lblSelectedChar->setFont(bold);
}

void DetailsPanel::moveSquareFocus(int index, Qt::Key key)
{
    const int row = index / GlyphSize, column = index % GlyphSize;
    int target = index;
    if (key == Qt::Key_Left && column > 0)
        target = index - 1;
    else if (key == Qt::Key_Right && column < GlyphSize - 1)
        target = index + 1;
    else if (key == Qt::Key_Up && row > 0)
        target = index - GlyphSize;
    else if (key == Qt::Key_Down && row < GlyphSize - 1)
        target = index + GlyphSize;
    m_picPixel.at(target)->setFocus(Qt::OtherFocusReason);
}

bool DetailsPanel::event(QEvent *event)
{
    if (event->type() == QEvent::ApplicationFontChange)
        fitTexts();
    return QWidget::event(event);
}

QPushButton *DetailsPanel::addButton(const QString &name, const QString &caption, int topTwips,
                                     void (DetailsPanel::*clicked)())
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setGeometry(twipsRect(ButtonLeft, topTwips, ButtonWidth, ButtonHeight));
    connect(button, &QPushButton::clicked, this, clicked);
    return button;
}

QLabel *DetailsPanel::addLabel(const QString &name, const QString &caption, const QRect &geometry)
{
    auto *label = new QLabel(caption, this);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    return label;
}

QList<QWidget *> DetailsPanel::tabChain() const
{
    QList<QWidget *> chain {const_cast<DetailsPanel *>(this), m_picDetailBack};
    for (PixelSquare *square : m_picPixel)
        chain.append(square);
    chain << m_btnInvert << m_btnPaste << m_btnCopy << m_btnClear << m_btnOK << m_currentFontChar;
    return chain;
}

void DetailsPanel::showEditor()
{
    const EditorState &editor = m_document->editor();
    for (PixelSquare *square : m_picPixel) {
        const int r = square->index() / GlyphSize, c = square->index() % GlyphSize;
        square->setColor((editor.grid[r] & columnBit(c)) ? QColor(Qt::black) : QColor(Qt::white));
    }
    for (int r = 0; r < GlyphSize; ++r) {
        m_lblDecValue[r]->setText(QString::number(editor.grid[r]));
        m_lblHexValue[r]->setText(hexByte(editor.grid[r]));
    }
    // A blank working copy is the preview cleared: paper white again.
    if (editor.grid == CharBitMap {})
        m_currentFontChar->Clear();
    else
        m_currentFontChar->DrawChar(editor.grid);
    m_lblSelectedChar->setText(
        editor.named && editor.selected >= 0 ? charDescription(editor.selected) : QString());
}

void DetailsPanel::strokeTo(const QPoint &gridPosition)
{
    if (auto *square = qobject_cast<PixelSquare *>(m_picDetailBack->childAt(gridPosition)))
        m_document->strokeOver(square->index());
}
