#pragma once

#include "core/fontimage.h"
#include "formats/fontformats.h"
#include "platform/services.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class OptionRows;
class QComboBox;
class QLineEdit;

// What Export As was last told, kept for the session so that exporting again after an edit is
// one step.
struct ExportChoices
{
    QString format = QStringLiteral("asm");
    WriteOptions options; // the font's file name is the editor's at the time of the export
    QString path; // the file last written; empty until then
};

// The file a format proposes for a font in a folder: the font's name without its extension
// ("font" when it has none) and the format's first suffix.
QString proposedExportPath(const FontFormat &format, const QString &folder,
                           const QString &currentFileName);

// What an export wrote, or why it wrote nothing.
struct ExportOutcome
{
    QStringList written;
    QString failedPath; // empty when written
    QString reason;
};

// Writes the font as the companion's convert does: the format's writer with these options, one
// file or a pair, each replaced only once complete and all or none.
ExportOutcome exportFontAs(const FontImage &font, const FontFormat &format,
                           const WriteOptions &options, const QString &path);

// Export As: every format and target the formats table writes, with the options each takes and
// the file to write. Accepting writes the file; a failure is shown and the dialog stays open.
class ExportAsDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit ExportAsDialog(const FontImage &font, const QString &currentFileName,
                            const QString &folder, const ExportChoices &last,
                            const Services &services, QWidget *parent);

    ExportChoices choices() const;
    const FontFormat &format() const { return *m_format; }
    // The options as the controls give them, or why they give none.
    QString writeOptions(WriteOptions &options) const;
    OptionRows *optionRows() const { return m_options; }
    QStringList written() const { return m_written; }

    void accept() override;

private:
    void formatChosen();
    void browse();

    FontImage m_font;
    QString m_currentFileName;
    QString m_folder;
    Services m_services;
    const FontFormat *m_format = nullptr;
    QComboBox *m_formatBox = nullptr;
    OptionRows *m_options = nullptr;
    QLineEdit *m_path = nullptr;
    QStringList m_written;
};
