#include "fontdialogs/textpreviewwindow.h"

#include "core/failure.h"
#include "core/fileio.h"
#include "core/version.h"
#include "fontdialogs/buddylabel.h"
#include "fontdialogs/fontpicture.h"
#include "fontdialogs/optionrows.h"
#include "formats/inkimage.h"
#include "formats/pngimage.h"
#include "platform/filedialogs.h"
#include "platform/messages.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
// Characters in the line: at 8x, wide enough for any caption and far below the largest picture.
constexpr int MaxTextLength = 1000;
constexpr int MaxPreviewScale = 8;

} // namespace

TextPreviewWindow::TextPreviewWindow(const Services &services, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmTextPreview"));
    setWindowTitle(tr("Text Preview"));

    m_text = new QLineEdit(tr("Hello, world!"), this);
    m_text->setObjectName(QStringLiteral("txtText"));
    m_text->setMaxLength(MaxTextLength);
    m_charset = new QComboBox(this);
    m_charset->setObjectName(QStringLiteral("cmbCharset"));
    m_charset->setEditable(true);
    m_charset->setInsertPolicy(QComboBox::NoInsert);
    m_charset->addItems(commonCharacterSets());
    m_scale = new QSpinBox(this);
    m_scale->setObjectName(QStringLiteral("spnScale"));
    m_scale->setRange(1, MaxPreviewScale);
    m_scale->setValue(2);
    m_scale->setSuffix(tr(" x"));

    auto *form = new QFormLayout;
    form->addRow(buddyLabel(tr("&Text:"), m_text, this), m_text);
    form->addRow(buddyLabel(tr("C&haracter set:"), m_charset, this), m_charset);
    form->addRow(buddyLabel(tr("&Zoom:"), m_scale, this), m_scale);

    m_view = new QLabel(this);
    m_view->setObjectName(QStringLiteral("lblPicture"));
    m_view->setAccessibleName(tr("The text drawn with the font"));
    m_view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(m_view);
    scroll->setWidgetResizable(true);
    scroll->setMinimumSize(8 * 2 * 32, 8 * MaxPreviewScale + 2 * scroll->frameWidth() + 24);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setWordWrap(true);

    m_copy = new QPushButton(tr("&Copy"), this);
    m_copy->setObjectName(QStringLiteral("btnCopy"));
    m_save = new QPushButton(tr("&Save..."), this);
    m_save->setObjectName(QStringLiteral("btnSave"));
    auto *close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("btnClose"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_copy);
    buttons->addWidget(m_save);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(scroll, 1);
    layout->addWidget(m_status);
    layout->addLayout(buttons);

    connect(m_text, &QLineEdit::textChanged, this, &TextPreviewWindow::redraw);
    connect(m_charset, &QComboBox::currentTextChanged, this, &TextPreviewWindow::redraw);
    connect(m_scale, &QSpinBox::valueChanged, this, &TextPreviewWindow::redraw);
    connect(m_copy, &QPushButton::clicked, this, &TextPreviewWindow::copy);
    connect(m_save, &QPushButton::clicked, this, &TextPreviewWindow::save);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    redraw();
}

void TextPreviewWindow::setGlyphs(const FontImage &font)
{
    m_font = font;
    redraw();
}

QByteArray TextPreviewWindow::png() const
{
    if (m_picture.isNull())
        return {};
    return encodePng(textImage(m_font, m_codes.lines, m_scale->value()));
}

void TextPreviewWindow::redraw()
{
    QString why;
    const std::optional<CharacterSet> charset = characterSetIn(m_charset->currentText(), &why);
    m_picture = QImage();
    if (!charset) {
        m_codes = TextCodes();
        m_status->setText(why);
    } else if (m_codes = textCodes(m_text->text(), *charset); !m_codes.ok()) {
        m_status->setText(tr("Character set %1 has no %2 (%3).")
                              .arg(charset->name(), QString::fromUcs4(&m_codes.missing, 1),
                                   unicodeName(m_codes.missing)));
    } else if (m_codes.longest() == 0) {
        m_status->setText(tr("Type a line to see it drawn."));
    } else {
        m_picture = inkPicture(textImage(m_font, m_codes.lines, m_scale->value()));
        m_status->setText(tr("%1 characters, %2 x %3 pixels.")
                              .arg(m_codes.longest())
                              .arg(m_picture.width())
                              .arg(m_picture.height()));
    }
    m_view->setPixmap(m_picture.isNull() ? QPixmap() : QPixmap::fromImage(m_picture));
    m_view->setAccessibleDescription(m_text->text());
    m_copy->setEnabled(!m_picture.isNull());
    m_save->setEnabled(!m_picture.isNull());
}

void TextPreviewWindow::copy()
{
    if (!m_picture.isNull())
        QApplication::clipboard()->setImage(m_picture);
}

void TextPreviewWindow::save()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = tr("Save Text Picture");
    request.filters = {tr("PNG Picture (*.png)"), tr("All Files (*.*)")};
    request.allFilesFilter = request.filters.last();
    request.defaultSuffix = QStringLiteral("png");
    request.initialName = QStringLiteral("text.png");
    request.confirmOverwrite = true;
    const QString path = m_services.fileDialogs->ask(this, request);
    if (path.isEmpty())
        return;
    if (const QString error = writeFileAtomically(path, png()); !error.isEmpty())
        m_services.messages->show(this, Messages::Icon::Warning, QString::fromUtf8(Version::Title),
                                  FailureText::message(FileTask::WriteFontAs, path, error));
}
