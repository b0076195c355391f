#pragma once

#include "formats/fontformats.h"
#include "formats/importresult.h"

#include <QByteArray>
#include <QDialog>
#include <QString>

class GlyphSheet;
class OptionRows;
class QComboBox;
class QDialogButtonBox;
class QLabel;

// A source file's bytes for an import, or why it cannot be read.
struct ImportSource
{
    QByteArray bytes;
    QString error;
};
ImportSource readImportSource(const QString &path);

// Import: what a file of another format holds, the options its format takes, and the 256
// characters as they will be, read again through the formats library whenever an option
// changes. Accepted, font() is the font to take in place of the editor's.
class ImportDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit ImportDialog(const QString &path, const QByteArray &bytes, QWidget *parent);

    const FontFormat *format() const { return m_format; }
    void setFormat(const FontFormat &format);
    // The last read; its error says why OK is disabled.
    const ImportResult &result() const { return m_result; }
    FontImage font() const { return m_result.font; }
    QString report() const;
    OptionRows *optionRows() const { return m_options; }

private:
    void reread();

    QByteArray m_bytes;
    const FontFormat *m_format = nullptr;
    ImportResult m_result;
    QString m_detection; // how the format was found, or that none was
    QComboBox *m_formatBox = nullptr;
    OptionRows *m_options = nullptr;
    QLabel *m_found = nullptr;
    GlyphSheet *m_preview = nullptr;
    QLabel *m_report = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};

// The file dialog's filter for every format Import reads, by the table's suffixes.
QStringList importFilters();
