#include "fontdialogs/buddylabel.h"

#include <QLabel>

QLabel *buddyLabel(const QString &caption, QWidget *field, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setBuddy(field);
    field->setAccessibleName(QString(caption).remove(u'&').remove(u':'));
    return label;
}
