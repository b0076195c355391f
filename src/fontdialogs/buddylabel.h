#pragma once

#include <QString>

class QLabel;
class QWidget;

// A form's label for FIELD, its access key moving the focus there. Screen readers name the field
// by the caption without the access key's ampersand and the colon.
QLabel *buddyLabel(const QString &caption, QWidget *field, QWidget *parent);
