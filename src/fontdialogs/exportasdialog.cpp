#include "fontdialogs/exportasdialog.h"

#include "core/failure.h"
#include "core/fileio.h"
#include "core/version.h"
#include "fontdialogs/buddylabel.h"
#include "fontdialogs/optionrows.h"
#include "formats/fontoutput.h"
#include "platform/filedialogs.h"
#include "platform/messages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString firstSuffix(const FontFormat &format)
{
    return QString::fromLatin1(format.suffixes).section(u' ', 0, 0);
}

// "C (*.h *.c)", as the format list and the file dialog's filter show a format.
QString formatTitle(const FontFormat &format)
{
    QStringList patterns;
    for (const QString &suffix :
         QString::fromLatin1(format.suffixes).split(u' ', Qt::SkipEmptyParts))
        patterns.append(QStringLiteral("*.") + suffix);
    if (format.secondSuffix)
        patterns.append(QStringLiteral("*.") + QLatin1String(format.secondSuffix));
    return QStringLiteral("%1 (%2)").arg(QString::fromLatin1(format.name).toUpper(),
                                         patterns.join(u' '));
}
} // namespace

QString proposedExportPath(const FontFormat &format, const QString &folder,
                           const QString &currentFileName)
{
    QString base = fontBaseName(currentFileName);
    if (base.isEmpty())
        base = QStringLiteral("font");
    const QString name = base + QLatin1Char('.') + firstSuffix(format);
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

ExportOutcome exportFontAs(const FontImage &font, const FontFormat &format,
                           const WriteOptions &options, const QString &path)
{
    const FontOutput output = fontOutput(font, format, options, path);
    if (!output.ok())
        return {{}, path, output.error};
    const FilesWritten written = writeFilesAtomically(output.paths, output.contents);
    if (written.failed >= 0) {
        QString reason = written.error;
        for (const auto &[file, error] : written.notPutBack)
            reason += QStringLiteral("\n%1 was written, but cannot be put back as it was: %2")
                          .arg(QDir::toNativeSeparators(output.paths[file]), error);
        return {{}, output.paths[written.failed], reason};
    }
    return {output.paths, {}, {}};
}

ExportAsDialog::ExportAsDialog(const FontImage &font, const QString &currentFileName,
                               const QString &folder, const ExportChoices &last,
                               const Services &services, QWidget *parent)
    : QDialog(parent)
    , m_font(font)
    , m_currentFileName(currentFileName)
    , m_folder(folder)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmExportAs"));
    setWindowTitle(tr("Export Font As"));

    m_formatBox = new QComboBox(this);
    m_formatBox->setObjectName(QStringLiteral("cmbFormat"));
    for (const FontFormat &format : fontFormats()) {
        if (format.writes())
            m_formatBox->addItem(formatTitle(format), QString::fromLatin1(format.name));
    }
    auto *form = new QFormLayout;
    form->addRow(buddyLabel(tr("&Format:"), m_formatBox, this), m_formatBox);
    m_options = new OptionRows(OptionRows::Side::Writing, form, this);
    m_options->take(last.options);

    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("txtFile"));
    m_path->setMinimumWidth(m_path->fontMetrics().averageCharWidth() * 40);
    auto *browse = new QPushButton(tr("&Browse..."), this);
    browse->setObjectName(QStringLiteral("btnBrowse"));
    browse->setAutoDefault(false);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(m_path, 1);
    fileRow->addWidget(browse);
    form->addRow(buddyLabel(tr("Fi&le:"), m_path, this), fileRow);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Export"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnExport"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse, &QPushButton::clicked, this, &ExportAsDialog::browse);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    const FontFormat *format = formatNamed(last.format);
    if (!format || !format->writes())
        format = formatNamed(u"asm");
    m_formatBox->setCurrentIndex(m_formatBox->findData(QString::fromLatin1(format->name)));
    formatChosen();
    if (!last.path.isEmpty())
        m_path->setText(QDir::toNativeSeparators(last.path));
    connect(m_formatBox, &QComboBox::currentIndexChanged, this, &ExportAsDialog::formatChosen);
}

void ExportAsDialog::formatChosen()
{
    m_format = formatNamed(m_formatBox->currentData().toString());
    m_options->showFor(*m_format);
    // The file takes the format's suffix; its folder and name stay as they were.
    const QString path = QDir::fromNativeSeparators(m_path->text());
    QString proposed = proposedExportPath(*m_format, m_folder, m_currentFileName);
    if (!path.isEmpty()) {
        const QFileInfo info(path);
        proposed
            = QDir(info.path())
                  .filePath(info.completeBaseName() + QLatin1Char('.') + firstSuffix(*m_format));
        if (info.path() == QLatin1String("."))
            proposed = info.completeBaseName() + QLatin1Char('.') + firstSuffix(*m_format);
    }
    m_path->setText(QDir::toNativeSeparators(proposed));
}

QString ExportAsDialog::writeOptions(WriteOptions &options) const
{
    options.fontFileName = m_currentFileName;
    return m_options->fill(options);
}

ExportChoices ExportAsDialog::choices() const
{
    ExportChoices choices;
    choices.format = QString::fromLatin1(m_format->name);
    writeOptions(choices.options);
    choices.path = QDir::fromNativeSeparators(m_path->text());
    return choices;
}

void ExportAsDialog::browse()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = tr("Export Font As");
    request.filters = {formatTitle(*m_format), tr("All Files (*.*)")};
    request.allFilesFilter = request.filters.last();
    request.defaultSuffix = firstSuffix(*m_format);
    request.initialName = QDir::fromNativeSeparators(m_path->text());
    request.confirmOverwrite = true;
    const QString path = m_services.fileDialogs->ask(this, request);
    if (!path.isEmpty())
        m_path->setText(QDir::toNativeSeparators(path));
}

void ExportAsDialog::accept()
{
    QString path = QDir::fromNativeSeparators(m_path->text().trimmed());
    // A bare name lands in the folder proposed, never in whatever the working folder is.
    if (!path.isEmpty() && QDir::isRelativePath(path) && !m_folder.isEmpty())
        path = QDir(m_folder).filePath(path);
    WriteOptions options;
    QString error = writeOptions(options);
    if (error.isEmpty() && path.isEmpty())
        error = tr("Name the file to write.");
    if (!error.isEmpty()) {
        m_services.messages->show(this, Messages::Icon::Warning, QString::fromUtf8(Version::Title),
                                  error);
        return;
    }
    const ExportOutcome outcome = exportFontAs(m_font, *m_format, options, path);
    if (!outcome.failedPath.isEmpty()) {
        m_services.messages->show(
            this, Messages::Icon::Warning, QString::fromUtf8(Version::Title),
            FailureText::message(FileTask::WriteFontAs, outcome.failedPath, outcome.reason));
        return;
    }
    m_written = outcome.written;
    QDialog::accept();
}
