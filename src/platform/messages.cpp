#include "platform/messages.h"

#include <QMessageBox>

void QtMessages::show(QWidget *parent, Icon icon, const QString &title, const QString &text)
{
    QMessageBox box(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, title, text,
                    QMessageBox::Ok, parent);
    box.exec();
}
