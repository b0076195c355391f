#pragma once

#include "platform/services.h"

#include <QDialog>

class QLabel;
class QPushButton;

// The About box: icon, title, version, description and legal notice, and a button that starts
// the system information tool.
class frmAbout final : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(const Services &services, QWidget *parent);

    // Sets the texts afresh and shows the box modally.
    int showModal();

private:
    void Form_Load();
    void cmdSysInfo_Click();
    void StartSysInfo();

    Services m_services;
    QLabel *m_lblTitle = nullptr;
    QLabel *m_lblVersion = nullptr;
    QLabel *m_lblDescription = nullptr;
    QLabel *m_lblDisclaimer = nullptr;
    QPushButton *m_cmdOK = nullptr;
};
