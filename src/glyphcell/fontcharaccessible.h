#pragma once

#include <QAccessibleWidget>
#include <QCoreApplication>

class FontChar;

// What a screen reader hears of a glyph cell: a palette cell is a selectable list item named
// after its character ("A, 65, 0x41"); the editor's preview is a picture.
class FontCharAccessible final : public QAccessibleWidget
{
    Q_DECLARE_TR_FUNCTIONS(FontCharAccessible)

public:
    explicit FontCharAccessible(FontChar *cell);

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;

private:
    FontChar *cell() const;
    bool inPalette() const;
};

// Makes Qt's accessibility use FontCharAccessible for every FontChar; safe to call repeatedly.
void installFontCharAccessibleFactory();
