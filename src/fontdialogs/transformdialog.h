#pragma once

#include "core/coderange.h"
#include "core/fontimage.h"
#include "core/glyphtransform.h"

#include <QDialog>
#include <QList>

#include <optional>

class GlyphSheet;
class QComboBox;
class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

// Transform: one of the companion's transform operations on the whole font, a range of codes or
// the selected character, with the font before and after. Accepted, transformed() is the font
// to take.
class TransformDialog final : public QDialog
{
    Q_OBJECT

public:
    // selected: the editor's selected code, -1 when none is.
    explicit TransformDialog(const FontImage &font, int selected, QWidget *parent);

    // The operation the controls show: the step selected in the list.
    GlyphOperation operation() const;
    // Every step in the order it is done, as the companion's transform takes its operations.
    const QList<GlyphOperation> &operations() const { return m_steps; }
    // The codes chosen, or nothing when the range typed is none.
    std::optional<CodeRange> codes() const;
    const FontImage &transformed() const { return m_after; }
    int changedCount() const { return m_changed; }
    // What the step is called in the undo history: "Transform: Shift, Bold".
    QString stepName() const;

private:
    void update();
    // The controls take the step at this place in the list.
    void showStep(int index);
    // The selected step takes what the controls show.
    void stepEdited();
    void addStep();
    void removeStep();
    // "Shift right 2", as the list shows a step.
    QString stepText(const GlyphOperation &step) const;

    FontImage m_before {};
    FontImage m_after {};
    int m_selected = -1;
    int m_changed = 0;
    QList<GlyphOperation> m_steps {GlyphOperation {GlyphOperation::Kind::Shift}};
    QListWidget *m_stepList = nullptr;
    QPushButton *m_removeStep = nullptr;
    QComboBox *m_operation = nullptr;
    QComboBox *m_direction = nullptr;
    QSpinBox *m_pixels = nullptr;
    QComboBox *m_mirror = nullptr;
    QComboBox *m_turn = nullptr;
    QRadioButton *m_whole = nullptr;
    QRadioButton *m_range = nullptr;
    QRadioButton *m_selectedOnly = nullptr;
    QLineEdit *m_codes = nullptr;
    QFormLayout *m_form = nullptr;
    GlyphSheet *m_beforeSheet = nullptr;
    GlyphSheet *m_afterSheet = nullptr;
    QLabel *m_report = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};
