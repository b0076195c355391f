#pragma once

#include <QString>

class QWidget;

// Modal message boxes with one OK button.
class Messages
{
public:
    enum class Icon { None, Warning };

    virtual ~Messages() = default;
    virtual void show(QWidget *parent, Icon icon, const QString &title, const QString &text) = 0;
};

class QtMessages final : public Messages
{
public:
    void show(QWidget *parent, Icon icon, const QString &title, const QString &text) override;
};
