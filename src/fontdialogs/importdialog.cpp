#include "fontdialogs/importdialog.h"

#include "core/fileio.h"
#include "core/modtools.h"
#include "fontdialogs/buddylabel.h"
#include "fontdialogs/glyphsheet.h"
#include "fontdialogs/optionrows.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString formatTitle(const FontFormat &format)
{
    return QString::fromLatin1(format.name).toUpper();
}

const FontFormat *rawFormat()
{
    return formatNamed(u"raw");
}
} // namespace

ImportSource readImportSource(const QString &path)
{
    // One byte more tells a file that is too long from one that just fits.
    ReadResult read = readFileStart(path, MaxSourceSize + 1);
    if (read.error.isEmpty() && read.bytes.size() > MaxSourceSize)
        read.error = QCoreApplication::translate("ImportSource",
                                                 "It is more than %1 bytes; no font is that large.")
                         .arg(numberText(MaxSourceSize));
    return {read.error.isEmpty() ? std::move(read.bytes) : QByteArray(), read.error};
}

QStringList importFilters()
{
    QStringList patterns;
    for (const FontFormat &format : fontFormats()) {
        if (!format.reads())
            continue;
        for (const QString &suffix :
             QString::fromLatin1(format.suffixes).split(u' ', Qt::SkipEmptyParts)) {
            patterns.append(QStringLiteral("*.") + suffix);
            if (format.compressible)
                patterns.append(QStringLiteral("*.") + suffix + QStringLiteral(".gz"));
        }
    }
    return {QCoreApplication::translate("ImportSource", "Fonts (%1)").arg(patterns.join(u' ')),
            QCoreApplication::translate("ImportSource", "All Files (*.*)")};
}

ImportDialog::ImportDialog(const QString &path, const QByteArray &bytes, QWidget *parent)
    : QDialog(parent)
    , m_bytes(bytes)
{
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(tr("Import %1").arg(FileNameOf(path)));

    auto *file = new QLabel(QDir::toNativeSeparators(path), this);
    file->setObjectName(QStringLiteral("lblFile"));
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_found = new QLabel(this);
    m_found->setObjectName(QStringLiteral("lblFound"));
    m_found->setWordWrap(true);
    m_formatBox = new QComboBox(this);
    m_formatBox->setObjectName(QStringLiteral("cmbFormat"));
    for (const FontFormat &format : fontFormats()) {
        if (format.reads())
            m_formatBox->addItem(formatTitle(format), QString::fromLatin1(format.name));
    }

    auto *form = new QFormLayout;
    form->addRow(tr("File:"), file);
    form->addRow(tr("Found:"), m_found);
    form->addRow(buddyLabel(tr("&Format:"), m_formatBox, this), m_formatBox);
    m_options = new OptionRows(OptionRows::Side::Reading, form, this);

    m_preview = new GlyphSheet(tr("The 256 characters as they will be"), this);
    m_preview->setObjectName(QStringLiteral("sheetPreview"));
    m_report = new QLabel(this);
    m_report->setObjectName(QStringLiteral("lblReport"));
    m_report->setWordWrap(true);
    m_report->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(tr("Import"));
    m_buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnImport"));
    m_buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancel"));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *left = new QVBoxLayout;
    left->addLayout(form);
    left->addStretch();
    left->addWidget(m_report);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(m_preview, 0, Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_buttons);

    // The format as the companion tells it from the content, with its default options; bytes
    // no reader recognises are offered as a raw dump.
    const ImportResult detected = readFont(m_bytes, nullptr, ReadOptions {});
    if (detected.format) {
        m_detection.clear();
        setFormat(*detected.format);
    } else {
        m_detection = tr("No font format recognised: read as raw bytes; choose another format if "
                         "it is one.");
        setFormat(*rawFormat());
    }
    connect(m_formatBox, &QComboBox::currentIndexChanged, this, [this] {
        if (const FontFormat *chosen = formatNamed(m_formatBox->currentData().toString()))
            setFormat(*chosen);
    });
    connect(m_options, &OptionRows::changed, this, &ImportDialog::reread);
}

void ImportDialog::setFormat(const FontFormat &format)
{
    m_format = &format;
    m_formatBox->setCurrentIndex(m_formatBox->findData(QString::fromLatin1(format.name)));
    m_options->showFor(format);
    m_found->clear();
    reread();
}

void ImportDialog::reread()
{
    ReadOptions options;
    const QString optionError = m_options->fill(options);
    if (optionError.isEmpty()) {
        m_result = readFont(m_bytes, m_format, options);
    } else {
        m_result = ImportResult::failure(optionError);
    }
    // What was found stays in view while an option gives no font.
    if (m_result.ok()) {
        m_found->setText(m_result.description);
        m_preview->setGlyphs(m_result.font);
    } else if (m_found->text().isEmpty()) {
        m_found->setText(m_detection.isEmpty() ? m_result.error : m_detection);
    }
    m_report->setText(report());
    m_preview->setAccessibleDescription(m_report->text());
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(m_result.ok());
}

QString ImportDialog::report() const
{
    if (!m_result.ok())
        return tr("Cannot import: %1").arg(m_result.error);
    QStringList lines;
    if (!m_detection.isEmpty())
        lines.append(m_detection);
    if (QString sources = codeSourcesText(m_result); !sources.isEmpty()) {
        // The companion's report begins with its option's name; here the control has another.
        if (sources.startsWith(QLatin1String("charset ")))
            sources.replace(0, 7, tr("Character set"));
        lines.append(sources.at(0).toUpper() + sources.mid(1) + QLatin1Char('.'));
    }
    const QString empty = emptyCodesText(m_result.font);
    lines.append(tr("Empty codes: %1.").arg(empty.isEmpty() ? tr("none") : empty));
    for (const QString &warning : m_result.warnings)
        lines.append(tr("Note: %1").arg(warning));
    return lines.join(u'\n');
}
