#include "editor/detailspanel.h"

#include "glyphcell/fontchar.h"
#include "editor/pixelsquare.h"
#include "glyphcell/twips.h"

#include <QApplication>
#include <QFontDatabase>
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
constexpr double SelectedPointSize = 7.8;

// Value labels are right-aligned. Their defined width suits a small dialog font; with a wider
// desktop font they grow into the free space on their right, so that the widest value is never
// cut off and a row's decimal and hex values never run together.
void fitRightAligned(QLabel *label, const QString &widest)
{
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const int needed = label->fontMetrics().horizontalAdvance(widest) + 2 * label->margin();
    if (needed > label->width())
        label->resize(needed, label->height());
}

QString indexed(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}
} // namespace

DetailsPanel::DetailsPanel(QWidget *parent)
    : QWidget(parent)
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
    QPalette back = m_picDetailBack->palette();
    back.setColor(QPalette::Window, Qt::black);
    back.setColor(QPalette::WindowText, palette().color(QPalette::WindowText));
    m_picDetailBack->setPalette(back);
    m_picDetailBack->setAutoFillBackground(true);
    const int border = m_picDetailBack->frameWidth();
    for (int i = 0; i < GlyphSize * GlyphSize; ++i) {
        auto *square = new PixelSquare(i, m_picDetailBack);
        square->setObjectName(indexed("picPixel", i));
        QRect geometry = twipsRect(SquarePitch * (i % GlyphSize), SquarePitch * (i / GlyphSize),
                                   SquareSize, SquareSize);
        square->setGeometry(geometry.translated(border, border));
        connect(square, &PixelSquare::clicked, this, &DetailsPanel::picPixel_Click);
        m_picPixel[i] = square;
    }

    m_currentFontChar = new FontChar(-1, this);
    m_currentFontChar->setObjectName(QStringLiteral("CurrentFontChar"));
    m_currentFontChar->setGeometry(twipsRect(PreviewLeft, PreviewTop, PreviewSize, PreviewSize));

    for (int r = 0; r < GlyphSize; ++r) {
        const double top = FirstRowTop + SquarePitch * r;
        addLabel(indexed("lblRow", r), QString::number(r),
                 twipsRect(RowLabelLeft, top, DigitWidth, LabelHeight));
    }
    for (int r = 0; r < GlyphSize; ++r) {
        const double top = FirstRowTop + SquarePitch * r;
        m_lblDecValue[r] = addLabel(indexed("lblDecValue", r), QStringLiteral("0"),
                                    twipsRect(DecLeft, top, ValueWidth, LabelHeight));
        fitRightAligned(m_lblDecValue[r], QStringLiteral("255"));
        m_lblDecValue[r]->setAccessibleDescription(tr("Row %1, decimal").arg(r));
    }
    for (int r = 0; r < GlyphSize; ++r) {
        const double top = FirstRowTop + SquarePitch * r;
        m_lblHexValue[r] = addLabel(indexed("lblHexValue", r), QStringLiteral("0x00"),
                                    twipsRect(HexLeft, top, ValueWidth, LabelHeight));
        fitRightAligned(m_lblHexValue[r], QStringLiteral("0xFF"));
        m_lblHexValue[r]->setAccessibleDescription(tr("Row %1, hexadecimal").arg(r));
    }
    // Column captions are bit numbers: bit 7 stands over the leftmost column.
    for (int c = 0; c < GlyphSize; ++c) {
        addLabel(indexed("lblCol", c), QString::number(c),
                 twipsRect(ColumnLabelRight - SquarePitch * c, 0, DigitWidth, LabelHeight));
    }

    m_lblSelectedChar = addLabel(QStringLiteral("lblSelectedChar"), QString(),
                                 twipsRect(0, 0, SelectedWidth, LabelHeight));
    m_lblSelectedChar->setAccessibleDescription(tr("Selected character"));
    // Only where installed: asking for a missing family costs a slow fallback search.
    QFont bold = QApplication::font();
    if (QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif")))
        bold.setFamily(QStringLiteral("MS Sans Serif"));
    bold.setPointSizeF(SelectedPointSize);
    bold.setWeight(QFont::Bold);
    m_lblSelectedChar->setFont(bold);
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

void DetailsPanel::setSelectedCharText(const QString &text)
{
    m_lblSelectedChar->setText(text);
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

void DetailsPanel::picPixel_Click(int Index)
{
    PixelSquare *square = m_picPixel.at(Index);
    square->setColor(square->isInk() ? QColor(Qt::white) : QColor(Qt::black));

    // Every row is read back from the squares: the grid is the editor's state.
    CharBitMap rows {};
    for (int r = 0; r < GlyphSize; ++r) {
        int value = 0;
        for (int c = 0; c < GlyphSize; ++c) {
            if (m_picPixel[r * GlyphSize + c]->isInk())
                value += columnBit(c);
        }
        m_lblDecValue[r]->setText(QString::number(value));
        m_lblHexValue[r]->setText(hexByte(value));
        rows[r] = static_cast<std::uint8_t>(value);
    }
    m_currentFontChar->DrawChar(rows);
}

void DetailsPanel::ClearEditor()
{
    for (int r = 0; r < GlyphSize; ++r) {
        m_lblDecValue[r]->setText(QStringLiteral("0"));
        m_lblHexValue[r]->setText(QStringLiteral("0x00"));
        for (int c = 0; c < GlyphSize; ++c)
            m_picPixel[r * GlyphSize + c]->setColor(Qt::white);
    }
    m_currentFontChar->Clear();
    m_lblSelectedChar->clear();
}

void DetailsPanel::LoadEditor(const CharBitMap &bitmap)
{
    for (int r = 0; r < GlyphSize; ++r) {
        for (int c = 0; c < GlyphSize; ++c) {
            if (bitmap[r] & columnBit(c))
                picPixel_Click(r * GlyphSize + c);
        }
    }
}

void DetailsPanel::InvertEditor()
{
    for (int i = 0; i < GlyphSize * GlyphSize; ++i)
        picPixel_Click(i);
}
