#include "fontdialogs/transformdialog.h"

#include "fontdialogs/buddylabel.h"
#include "fontdialogs/glyphsheet.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <memory>

namespace {
using Kind = GlyphOperation::Kind;
} // namespace

TransformDialog::TransformDialog(const FontImage &font, int selected, QWidget *parent)
    : QDialog(parent)
    , m_before(font)
    , m_after(font)
    , m_selected(selected)
{
    setObjectName(QStringLiteral("frmTransform"));
    setWindowTitle(tr("Transform"));

    m_operation = new QComboBox(this);
    m_operation->setObjectName(QStringLiteral("cmbOperation"));
    const std::pair<QString, Kind> operations[]
        = {{tr("Shift (pixels that leave the cell are lost)"), Kind::Shift},
           {tr("Roll (pixels that leave come back at the other edge)"), Kind::Roll},
           {tr("Mirror"), Kind::Flip},
           {tr("Turn clockwise"), Kind::Rotate},
           {tr("Invert (swap ink and paper)"), Kind::Invert},
           {tr("Bold (each row ORed with itself one pixel right)"), Kind::Bold}};
    for (const auto &[caption, kind] : operations)
        m_operation->addItem(caption, int(kind));

    m_direction = new QComboBox(this);
    m_direction->setObjectName(QStringLiteral("cmbDirection"));
    const std::pair<QString, Direction> directions[] = {{tr("Up"), Direction::Up},
                                                        {tr("Down"), Direction::Down},
                                                        {tr("Left"), Direction::Left},
                                                        {tr("Right"), Direction::Right}};
    for (const auto &[caption, direction] : directions)
        m_direction->addItem(caption, int(direction));
    m_pixels = new QSpinBox(this);
    m_pixels->setObjectName(QStringLiteral("spnPixels"));
    m_pixels->setRange(1, GlyphSize - 1);
    m_mirror = new QComboBox(this);
    m_mirror->setObjectName(QStringLiteral("cmbMirror"));
    m_mirror->addItem(tr("Left to right (horizontal)"), int(Direction::Left));
    m_mirror->addItem(tr("Top to bottom (vertical)"), int(Direction::Up));
    m_turn = new QComboBox(this);
    m_turn->setObjectName(QStringLiteral("cmbTurn"));
    for (const int quarters : {1, 2, 3})
        m_turn->addItem(tr("%1 degrees").arg(quarters * 90), quarters);

    m_stepList = new QListWidget(this);
    m_stepList->setObjectName(QStringLiteral("lstSteps"));
    m_stepList->setAccessibleName(tr("Steps, in the order they are done"));
    m_stepList->setMaximumHeight(m_stepList->fontMetrics().height() * 4 + 8);
    auto *addStep = new QPushButton(tr("&Add step"), this);
    addStep->setObjectName(QStringLiteral("btnAddStep"));
    addStep->setAutoDefault(false);
    m_removeStep = new QPushButton(tr("&Remove step"), this);
    m_removeStep->setObjectName(QStringLiteral("btnRemoveStep"));
    m_removeStep->setAutoDefault(false);
    auto *stepButtons = new QVBoxLayout;
    stepButtons->addWidget(addStep);
    stepButtons->addWidget(m_removeStep);
    stepButtons->addStretch();
    auto *steps = new QHBoxLayout;
    steps->addWidget(m_stepList, 1);
    steps->addLayout(stepButtons);

    m_form = new QFormLayout;
    auto *stepsLabel = new QLabel(tr("Steps:"), this);
    stepsLabel->setBuddy(m_stepList);
    m_form->addRow(stepsLabel, steps);
    m_form->addRow(buddyLabel(tr("&Operation:"), m_operation, this), m_operation);
    m_form->addRow(buddyLabel(tr("&Direction:"), m_direction, this), m_direction);
    m_form->addRow(buddyLabel(tr("&Pixels:"), m_pixels, this), m_pixels);
    m_form->addRow(buddyLabel(tr("&Mirror:"), m_mirror, this), m_mirror);
    m_form->addRow(buddyLabel(tr("&Turn:"), m_turn, this), m_turn);

    m_whole = new QRadioButton(tr("The &whole font"), this);
    m_whole->setObjectName(QStringLiteral("optWhole"));
    m_range = new QRadioButton(tr("&Codes:"), this);
    m_range->setObjectName(QStringLiteral("optCodes"));
    m_codes = new QLineEdit(QStringLiteral("32-127"), this);
    m_codes->setObjectName(QStringLiteral("txtCodes"));
    m_codes->setAccessibleName(tr("Codes, FIRST-LAST"));
    m_codes->setToolTip(tr("The characters to transform, FIRST-LAST: decimal or 0x hex"));
    m_selectedOnly = new QRadioButton(
        selected >= 0 ? tr("The &selected character (%1)").arg(charDescription(selected))
                      : tr("The &selected character"),
        this);
    m_selectedOnly->setObjectName(QStringLiteral("optSelected"));
    m_selectedOnly->setEnabled(selected >= 0);
    auto *scope = new QButtonGroup(this);
    scope->addButton(m_whole);
    scope->addButton(m_range);
    scope->addButton(m_selectedOnly);
    m_whole->setChecked(true);
    auto *rangeRow = new QHBoxLayout;
    rangeRow->addWidget(m_range);
    rangeRow->addWidget(m_codes, 1);
    m_form->addRow(tr("Apply to:"), m_whole);
    m_form->addRow(QString(), rangeRow);
    m_form->addRow(QString(), m_selectedOnly);

    m_beforeSheet = new GlyphSheet(tr("The font before"), this);
    m_beforeSheet->setObjectName(QStringLiteral("sheetBefore"));
    m_beforeSheet->setGlyphs(m_before);
    m_afterSheet = new GlyphSheet(tr("The font after"), this);
    m_afterSheet->setObjectName(QStringLiteral("sheetAfter"));
    auto *sheets = new QGridLayout;
    sheets->addWidget(new QLabel(tr("Before"), this), 0, 0, Qt::AlignHCenter);
    sheets->addWidget(new QLabel(tr("After"), this), 0, 1, Qt::AlignHCenter);
    sheets->addWidget(m_beforeSheet, 1, 0);
    sheets->addWidget(m_afterSheet, 1, 1);

    m_report = new QLabel(this);
    m_report->setObjectName(QStringLiteral("lblReport"));
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOK"));
    m_buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancel"));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(m_form);
    layout->addLayout(sheets);
    layout->addWidget(m_report);
    layout->addWidget(m_buttons);

    for (QComboBox *box : {m_operation, m_direction, m_mirror, m_turn})
        connect(box, &QComboBox::currentIndexChanged, this, &TransformDialog::stepEdited);
    connect(m_pixels, &QSpinBox::valueChanged, this, &TransformDialog::stepEdited);
    connect(m_stepList, &QListWidget::currentRowChanged, this, &TransformDialog::showStep);
    connect(addStep, &QPushButton::clicked, this, &TransformDialog::addStep);
    connect(m_removeStep, &QPushButton::clicked, this, &TransformDialog::removeStep);
    connect(m_codes, &QLineEdit::textChanged, this, [this] {
        m_range->setChecked(true);
        update();
    });
    connect(scope, &QButtonGroup::buttonToggled, this, &TransformDialog::update);
    m_stepList->addItem(stepText(m_steps.constFirst()));
    m_stepList->setCurrentRow(0);
    showStep(0);
}

void TransformDialog::showStep(int index)
{
    if (index < 0 || index >= m_steps.size())
        return;
    const GlyphOperation &step = m_steps.at(index);
    const QList<QWidget *> controls {m_operation, m_direction, m_pixels, m_mirror, m_turn};
    for (QWidget *control : controls)
        control->blockSignals(true);
    m_operation->setCurrentIndex(m_operation->findData(int(step.kind)));
    if (step.kind == Kind::Shift || step.kind == Kind::Roll) {
        m_direction->setCurrentIndex(m_direction->findData(int(step.direction)));
        m_pixels->setValue(step.amount);
    } else if (step.kind == Kind::Flip) {
        m_mirror->setCurrentIndex(m_mirror->findData(int(step.direction)));
    } else if (step.kind == Kind::Rotate) {
        m_turn->setCurrentIndex(m_turn->findData(step.amount));
    }
    for (QWidget *control : controls)
        control->blockSignals(false);
    m_removeStep->setEnabled(m_steps.size() > 1);
    update();
}

void TransformDialog::stepEdited()
{
    const int index = m_stepList->currentRow();
    if (index < 0)
        return;
    m_steps[index] = operation();
    m_stepList->item(index)->setText(stepText(m_steps.at(index)));
    update();
}

void TransformDialog::addStep()
{
    // A new step starts as a copy of the one selected, so that "twice" is one click.
    m_steps.append(operation());
    m_stepList->addItem(stepText(m_steps.constLast()));
    m_stepList->setCurrentRow(int(m_steps.size()) - 1);
    m_operation->setFocus();
}

void TransformDialog::removeStep()
{
    const int index = m_stepList->currentRow();
    if (m_steps.size() < 2 || index < 0)
        return;
    m_steps.removeAt(index);
    // The list gives the item up; it goes with this scope.
    const std::unique_ptr<QListWidgetItem> removed(m_stepList->takeItem(index));
    showStep(m_stepList->currentRow());
}

QString TransformDialog::stepText(const GlyphOperation &step) const
{
    const auto caption = [](const QComboBox *box, int value) {
        return box->itemText(box->findData(value)).section(QStringLiteral(" ("), 0, 0);
    };
    const QString name = caption(m_operation, int(step.kind));
    switch (step.kind) {
    case Kind::Shift:
    case Kind::Roll:
        return tr("%1 %2 by %3")
            .arg(name, caption(m_direction, int(step.direction)).toLower())
            .arg(step.amount);
    case Kind::Flip:
        return tr("%1 %2").arg(name, caption(m_mirror, int(step.direction)).toLower());
    case Kind::Rotate:
        return tr("%1 %2").arg(name, caption(m_turn, step.amount));
    case Kind::Invert:
    case Kind::Bold:
        break;
    }
    return name;
}

GlyphOperation TransformDialog::operation() const
{
    GlyphOperation operation {Kind(m_operation->currentData().toInt())};
    switch (operation.kind) {
    case Kind::Shift:
    case Kind::Roll:
        operation.direction = Direction(m_direction->currentData().toInt());
        operation.amount = m_pixels->value();
        break;
    case Kind::Flip:
        operation.direction = Direction(m_mirror->currentData().toInt());
        break;
    case Kind::Rotate:
        operation.amount = m_turn->currentData().toInt();
        break;
    case Kind::Invert:
    case Kind::Bold:
        break;
    }
    return operation;
}

std::optional<CodeRange> TransformDialog::codes() const
{
    if (m_selectedOnly->isChecked() && m_selected >= 0)
        return CodeRange {m_selected, m_selected};
    if (m_range->isChecked())
        return parseCodeRange(m_codes->text().trimmed()).range;
    return CodeRange {};
}

QString TransformDialog::stepName() const
{
    QStringList names;
    for (const GlyphOperation &step : m_steps)
        names.append(m_operation->itemText(m_operation->findData(int(step.kind)))
                         .section(QStringLiteral(" ("), 0, 0));
    return tr("Transform: %1").arg(names.join(QStringLiteral(", ")));
}

void TransformDialog::update()
{
    const Kind kind = Kind(m_operation->currentData().toInt());
    const bool moves = kind == Kind::Shift || kind == Kind::Roll;
    m_form->setRowVisible(m_direction, moves);
    m_form->setRowVisible(m_pixels, moves);
    m_form->setRowVisible(m_mirror, kind == Kind::Flip);
    m_form->setRowVisible(m_turn, kind == Kind::Rotate);

    m_after = m_before;
    const std::optional<CodeRange> range = codes();
    if (!range) {
        m_changed = 0;
        m_report->setText(tr("Codes: %1").arg(parseCodeRange(m_codes->text().trimmed()).error));
    } else {
        m_changed = transformFont(m_after, *range, m_steps);
        m_report->setText(tr("Changes %1 of %2 glyphs (%3).")
                              .arg(m_changed)
                              .arg(range->count())
                              .arg(codeRangeText(*range)));
    }
    m_afterSheet->setGlyphs(m_after);
    m_afterSheet->setAccessibleDescription(m_report->text());
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(range.has_value());
}
