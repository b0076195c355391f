#include "fontdialogs/optionrows.h"

#include "core/coderange.h"
#include "core/glyphlayout.h"
#include "fontdialogs/buddylabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVariant>

namespace {
QComboBox *characterSetBox(QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("cmbCharset"));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(commonCharacterSets());
    return box;
}
} // namespace

std::optional<CharacterSet> characterSetIn(const QString &name, QString *why)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || trimmed.compare(QLatin1String("latin1"), Qt::CaseInsensitive) == 0)
        return CharacterSet();
    return CharacterSet::named(trimmed, why);
}

QStringList commonCharacterSets()
{
    return {QStringLiteral("latin1"),    QStringLiteral("cp437"),      QStringLiteral("cp850"),
            QStringLiteral("cp1252"),    QStringLiteral("iso8859-15"), QStringLiteral("iso8859-2"),
            QStringLiteral("iso8859-5"), QStringLiteral("koi8-r"),     QStringLiteral("cp866")};
}

OptionRows::OptionRows(Side side, QFormLayout *form, QWidget *parent)
    : QObject(parent)
    , m_side(side)
    , m_form(form)
    , m_parent(parent)
{
    if (side == Side::Reading)
        addReadingRows();
    else
        addWritingRows();
}

void OptionRows::addRow(Row row, const QString &caption)
{
    if (auto *check = qobject_cast<QCheckBox *>(row.field)) {
        check->setText(caption);
        m_form->addRow(check);
        connect(check, &QCheckBox::toggled, this, &OptionRows::changed);
    } else {
        m_form->addRow(buddyLabel(caption, row.field, m_parent), row.field);
        if (auto *edit = qobject_cast<QLineEdit *>(row.field))
            connect(edit, &QLineEdit::textChanged, this, &OptionRows::changed);
        else if (auto *spin = qobject_cast<QSpinBox *>(row.field))
            connect(spin, &QSpinBox::valueChanged, this, &OptionRows::changed);
        else if (auto *combo = qobject_cast<QComboBox *>(row.field))
            connect(combo, &QComboBox::currentTextChanged, this, &OptionRows::changed);
    }
    m_rows.push_back(std::move(row));
}

void OptionRows::addReadingRows()
{
    QComboBox *charset = characterSetBox(m_parent);
    addRow({FormatOption::Charset,
            charset,
            [charset](ReadOptions &options) {
                QString why;
                const std::optional<CharacterSet> set
                    = characterSetIn(charset->currentText(), &why);
                if (set)
                    options.charset = *set;
                return set ? QString() : why;
            },
            {},
            {}},
           tr("C&haracter set:"));

    auto *byPosition = new QCheckBox(m_parent);
    byPosition->setObjectName(QStringLiteral("chkByPosition"));
    addRow({FormatOption::ByPosition,
            byPosition,
            [byPosition](ReadOptions &options) {
                options.byPosition = byPosition->isChecked();
                return QString();
            },
            {},
            {}},
           tr("Take the glyphs in their &order, not through the font's table"));
    // In order, the character set has nothing to choose.
    connect(byPosition, &QCheckBox::toggled, charset, &QWidget::setDisabled);

    auto *offset = new QLineEdit(QStringLiteral("0"), m_parent);
    offset->setObjectName(QStringLiteral("txtOffset"));
    offset->setToolTip(tr("Where the font starts in the file, in bytes: decimal or 0x hex"));
    addRow({FormatOption::Offset,
            offset,
            [offset](ReadOptions &options) {
                const std::optional<qint64> value = parseNumber(offset->text().trimmed());
                if (!value || *value < 0 || *value > MaxSourceSize)
                    return tr("The offset is a number of bytes, decimal or 0x hex.");
                options.offset = *value;
                return QString();
            },
            {},
            {}},
           tr("Off&set:"));

    auto *first = new QSpinBox(m_parent);
    first->setObjectName(QStringLiteral("spnFirst"));
    first->setRange(0, CharacterCount - 1);
    addRow({FormatOption::RawSpan,
            first,
            [first](ReadOptions &options) {
                options.first = first->value();
                return QString();
            },
            {},
            {}},
           tr("F&irst code:"));

    auto *count = new QSpinBox(m_parent);
    count->setObjectName(QStringLiteral("spnCount"));
    count->setRange(0, CharacterCount);
    // Zero stands for as many glyphs as the data holds, up to code 255.
    count->setSpecialValueText(tr("All"));
    addRow({FormatOption::RawSpan,
            count,
            [first, count](ReadOptions &options) {
                options.count = std::nullopt;
                if (count->value() == 0)
                    return QString();
                if (first->value() + count->value() > CharacterCount)
                    return tr("The first code %1 and count %2 reach code %3; codes end at 255.")
                        .arg(first->value())
                        .arg(count->value())
                        .arg(first->value() + count->value() - 1);
                options.count = count->value();
                return QString();
            },
            {},
            {}},
           tr("&Count:"));

    addLayoutRows();

    auto *size = new QSpinBox(m_parent);
    size->setObjectName(QStringLiteral("spnSize"));
    // A scalable font's height in pixels, ascent to descent; 8 fills the cell.
    size->setRange(2, 64);
    size->setValue(GlyphSize);
    size->setSuffix(tr(" px"));
    size->setToolTip(tr("The font's height from ascent to descent, in pixels"));
    addRow({FormatOption::PixelSize,
            size,
            [size](ReadOptions &options) {
                options.pixelSize = size->value();
                return QString();
            },
            {},
            {}},
           tr("Si&ze:"));

    auto *ink = new QComboBox(m_parent);
    ink->setObjectName(QStringLiteral("cmbInk"));
    ink->addItem(tr("Dark pixels on light paper"));
    ink->addItem(tr("Light pixels on dark paper"));
    addRow({FormatOption::Ink,
            ink,
            [ink](ReadOptions &options) {
                options.ink = ink->currentIndex() == 1 ? InkRule::Light : InkRule::Dark;
                return QString();
            },
            {},
            {}},
           tr("In&k:"));
}

void OptionRows::addWritingRows()
{
    auto *name = new QLineEdit(m_parent);
    name->setObjectName(QStringLiteral("txtName"));
    name->setPlaceholderText(tr("the font's file name"));
    addRow({FormatOption::Name,
            name,
            {},
            [name](WriteOptions &options) {
                options.name
                    = name->text().isEmpty() ? std::nullopt : std::optional<QString>(name->text());
                return QString();
            },
            [name](const WriteOptions &options) {
                name->setText(options.name.value_or(QString()));
            }},
           tr("&Name:"));

    auto *scale = new QSpinBox(m_parent);
    scale->setObjectName(QStringLiteral("spnScale"));
    scale->setRange(1, MaxScale);
    scale->setSuffix(tr(" x"));
    addRow({FormatOption::Scale,
            scale,
            {},
            [scale](WriteOptions &options) {
                options.scale = scale->value();
                return QString();
            },
            [scale](const WriteOptions &options) {
                scale->setValue(options.scale);
            }},
           tr("Sc&ale:"));

    auto *codes = new QLineEdit(QStringLiteral("0-255"), m_parent);
    codes->setObjectName(QStringLiteral("txtCodes"));
    codes->setToolTip(tr("The characters to write, FIRST-LAST: decimal or 0x hex"));
    addRow({FormatOption::Codes,
            codes,
            {},
            [codes](WriteOptions &options) {
                const CodeRangeParse parsed = parseCodeRange(codes->text().trimmed());
                if (!parsed.range)
                    return tr("Codes: %1").arg(parsed.error);
                options.codes = *parsed.range;
                return QString();
            },
            [codes](const WriteOptions &options) {
                codes->setText(
                    QStringLiteral("%1-%2").arg(options.codes.first).arg(options.codes.last));
            }},
           tr("C&odes:"));

    addChoiceRow(FormatOption::Target, QStringLiteral("cmbTarget"), &WriteOptions::target,
                 {{tr("PIC18: db lines, read with table reads"), PicTarget::Pic18},
                  {tr("PIC16: dt lines, one retlw per byte"), PicTarget::Pic16}},
                 tr("&Target:"));
    addChoiceRow(FormatOption::Syntax, QStringLiteral("cmbSyntax"), &WriteOptions::syntax,
                 {{tr("MPASM (gpasm, MPLAB 8)"), AsmSyntax::Mpasm},
                  {tr("MPLAB XC8 PIC Assembler (pic-as)"), AsmSyntax::PicAs}},
                 tr("Synta&x:"));
    addLayoutRows();
    addChoiceRow(FormatOption::Storage, QStringLiteral("cmbStorage"), &WriteOptions::storage,
                 {{tr("const"), CStorage::Const},
                  {tr("PROGMEM (avr-libc: read with pgm_read_byte)"), CStorage::Progmem},
                  {tr("__flash (avr-gcc, C only)"), CStorage::Flash}},
                 tr("Stora&ge:"));

    QComboBox *charset = characterSetBox(m_parent);
    addRow({FormatOption::Charset,
            charset,
            {},
            [charset](WriteOptions &options) {
                QString why;
                const std::optional<CharacterSet> set
                    = characterSetIn(charset->currentText(), &why);
                if (set)
                    options.charset = *set;
                return set ? QString() : why;
            },
            [charset](const WriteOptions &options) {
                charset->setCurrentText(options.charset.name().isEmpty() ? QStringLiteral("latin1")
                                                                         : options.charset.name());
            }},
           tr("C&haracter set:"));
}

template<typename Choice>
void OptionRows::addChoiceRow(FormatOption option, const QString &name,
                              Choice WriteOptions::*member,
                              std::initializer_list<std::pair<QString, Choice>> items,
                              const QString &caption)
{
    auto *box = new QComboBox(m_parent);
    box->setObjectName(name);
    for (const auto &[text, value] : items)
        box->addItem(text, QVariant::fromValue(int(value)));
    addRow({option,
            box,
            {},
            [box, member](WriteOptions &options) {
                options.*member = Choice(box->currentData().toInt());
                return QString();
            },
            [box, member](const WriteOptions &options) {
                box->setCurrentIndex(box->findData(int(options.*member)));
            }},
           caption);
}

// The order a display controller wants a glyph's bytes in, and how many columns are kept; the
// same two rows read a table back and write one.
void OptionRows::addLayoutRows()
{
    auto *order = new QComboBox(m_parent);
    order->setObjectName(QStringLiteral("cmbLayout"));
    order->addItem(tr("Rows, bit 7 the leftmost pixel (the .pf order)"),
                   QVariant::fromValue(int(ByteOrder::Rows)));
    order->addItem(tr("Rows, bit 0 the leftmost pixel"),
                   QVariant::fromValue(int(ByteOrder::RowsLsb)));
    order->addItem(tr("Columns, bit 0 the top pixel (SSD1306, SH1106, PCD8544, KS0108)"),
                   QVariant::fromValue(int(ByteOrder::Columns)));
    order->addItem(tr("Columns, bit 7 the top pixel"),
                   QVariant::fromValue(int(ByteOrder::ColumnsMsb)));
    auto *width = new QSpinBox(m_parent);
    width->setObjectName(QStringLiteral("spnWidth"));
    width->setRange(MinLayoutWidth, GlyphSize);
    width->setValue(GlyphSize);
    width->setSuffix(tr(" columns"));
    width->setToolTip(tr("Only the leftmost columns of each glyph, for fonts drawn narrower "
                         "than their cell"));
    // The order's row fills in both; the width's row is shown and hidden with it.
    addRow({FormatOption::Layout,
            order,
            [order, width](ReadOptions &options) {
                options.layout = {ByteOrder(order->currentData().toInt()), width->value()};
                return QString();
            },
            [order, width](WriteOptions &options) {
                options.layout = {ByteOrder(order->currentData().toInt()), width->value()};
                return QString();
            },
            [order, width](const WriteOptions &options) {
                order->setCurrentIndex(order->findData(int(options.layout.order)));
                width->setValue(options.layout.width);
            }},
           tr("La&yout:"));
    addRow({FormatOption::Layout, width, {}, {}, {}}, tr("&Width:"));
}

void OptionRows::showFor(const FontFormat &format)
{
    const FormatOptions taken = m_side == Side::Reading ? format.readOptions : format.writeOptions;
    m_taken = taken;
    for (const Row &row : m_rows)
        m_form->setRowVisible(row.field, taken.testFlag(row.option));
}

QString OptionRows::fill(ReadOptions &options) const
{
    for (const Row &row : m_rows) {
        if (row.read && m_taken.testFlag(row.option)) {
            if (const QString error = row.read(options); !error.isEmpty())
                return error;
        }
    }
    return {};
}

QString OptionRows::fill(WriteOptions &options) const
{
    for (const Row &row : m_rows) {
        if (row.write && m_taken.testFlag(row.option)) {
            if (const QString error = row.write(options); !error.isEmpty())
                return error;
        }
    }
    return {};
}

void OptionRows::take(const WriteOptions &options)
{
    for (const Row &row : m_rows) {
        if (row.take)
            row.take(options);
    }
}

QWidget *OptionRows::field(FormatOption option, int part) const
{
    for (const Row &row : m_rows) {
        if (row.option == option && part-- == 0)
            return row.field;
    }
    return nullptr;
}
