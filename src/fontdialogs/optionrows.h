#pragma once

#include "formats/fontformats.h"

#include <QCoreApplication>
#include <QObject>
#include <QString>

#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

class QFormLayout;
class QWidget;

// The controls for the options a format's reader or writer takes, one row per option, built from
// the formats table's flags: the rows of options the chosen format does not take are hidden. A
// new option of the formats library is one row in optionrows.cpp.
class OptionRows final : public QObject
{
    Q_OBJECT

public:
    enum class Side { Reading, Writing };

    explicit OptionRows(Side side, QFormLayout *form, QWidget *parent);

    // Shows the rows of the options the format takes, and only those.
    void showFor(const FontFormat &format);
    // The options as the controls give them, or the first control's reason they give none.
    QString fill(ReadOptions &options) const;
    QString fill(WriteOptions &options) const;
    // Sets the controls from options, as a dialog opened again shows its last choices.
    void take(const WriteOptions &options);

    // A control by its option, for tests and for the dialogs' own wiring.
    QWidget *field(FormatOption option, int part = 0) const;

Q_SIGNALS:
    void changed();

private:
    struct Row
    {
        FormatOption option;
        QWidget *field = nullptr;
        std::function<QString(ReadOptions &)> read;
        std::function<QString(WriteOptions &)> write;
        std::function<void(const WriteOptions &)> take;
    };

    void addRow(Row row, const QString &caption);
    void addReadingRows();
    void addWritingRows();
    void addLayoutRows();
    // A writing option of a few fixed values (an enum member of WriteOptions) as a drop-down list.
    template<typename Choice>
    void addChoiceRow(FormatOption option, const QString &name, Choice WriteOptions::*member,
                      std::initializer_list<std::pair<QString, Choice>> items,
                      const QString &caption);

    Side m_side;
    QFormLayout *m_form = nullptr;
    QWidget *m_parent = nullptr;
    std::vector<Row> m_rows;
    FormatOptions m_taken;
};

// The character set an editable box names, or why there is none; for the dialogs that turn
// text into codes as well as those that read and write fonts.
std::optional<CharacterSet> characterSetIn(const QString &name, QString *why);
// The names offered in character set boxes; any other name iconv knows may be typed.
QStringList commonCharacterSets();
