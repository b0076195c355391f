#include "glyphcell/fontcharaccessible.h"

#include "glyphcell/fontchar.h"

#include <QAccessible>

namespace {
constexpr int SpaceCode = 32;

QAccessibleInterface *fontCharFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("FontChar") && object && object->isWidgetType())
        return new FontCharAccessible(static_cast<FontChar *>(object));
    return nullptr;
}
} // namespace

void installFontCharAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(&fontCharFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

FontCharAccessible::FontCharAccessible(FontChar *cell)
    : QAccessibleWidget(cell)
{ }

FontChar *FontCharAccessible::cell() const
{
    return static_cast<FontChar *>(widget());
}

// Palette cells hold a character code; the preview has none.
bool FontCharAccessible::inPalette() const
{
    return cell()->index() >= 0;
}

QAccessible::Role FontCharAccessible::role() const
{
    return inPalette() ? QAccessible::ListItem : QAccessible::Graphic;
}

QAccessible::State FontCharAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    if (inPalette()) {
        state.selectable = true;
        state.selected = cell()->isSelected();
    }
    return state;
}

QString FontCharAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name || !cell()->accessibleName().isEmpty() || !inPalette())
        return QAccessibleWidget::text(t);
    // Said aloud, a blank character would vanish: the space gets its name.
    const int code = cell()->index();
    const QString character = code == SpaceCode ? tr("space") : CharDisplayText(code);
    return tr("%1, %2, %3").arg(character).arg(code).arg(hexByte(code));
}
