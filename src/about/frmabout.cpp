#include "about/frmabout.h"

#include "about/sysinfo.h"
#include "core/version.h"
#include "glyphcell/twips.h"
#include "platform/messages.h"
#include "resources/appicon.h"

#include <QLabel>
#include <QPushButton>

namespace {
// Twips.
constexpr double ClientWidth = 5736, ClientHeight = 3564;
constexpr double InfoLeft = 1050, InfoWidth = 3885;

QLabel *addLabel(QWidget *parent, const char *name, const QString &caption, const QRect &geometry,
                 bool black)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (black) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
    }
    return label;
}

// One line of the etched rule: a strip of plain colour.
void addLine(QWidget *parent, const char *name, const QRect &geometry, const QColor &color)
{
    auto *line = new QWidget(parent);
    line->setObjectName(QLatin1String(name));
    line->setGeometry(geometry);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, color);
    line->setPalette(palette);
    line->setAutoFillBackground(true);
}
} // namespace

frmAbout::frmAbout(const Services &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(tr("About MyApp"));
    setWindowIcon(appIcon());
    setFixedSize(px(ClientWidth), px(ClientHeight));

    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(twipsRect(120, 240, 672, 672));
    image->setScaledContents(true);
    image->setPixmap(appIcon().pixmap(image->size()));

    m_lblTitle = addLabel(this, "lblTitle", tr("Application Title"),
                          twipsRect(InfoLeft, 240, InfoWidth, 480), true);
    m_lblVersion = addLabel(this, "lblVersion", tr("Version"),
                            twipsRect(InfoLeft, 780, InfoWidth, 225), false);
    m_lblDescription = addLabel(this, "lblDescription", tr("App Description"),
                                twipsRect(InfoLeft, 1125, InfoWidth, 1170), true);
    // Grey above white makes the rule look etched into the dialog.
    addLine(this, "Line1(1)", QRect(px(90), px(2451), px(5660) - px(90), 1), QColor(128, 128, 128));
    addLine(this, "Line1(0)", QRect(px(105), px(2466), px(5660) - px(105), 2), Qt::white);
    m_lblDisclaimer = addLabel(this, "lblDisclaimer", tr("Warning: ..."),
                               twipsRect(255, 2625, 3870, 825), true);

    m_cmdOK = new QPushButton(tr("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setGeometry(twipsRect(4245, 2625, 1260, 345));
    m_cmdOK->setDefault(true);
    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *cmdSysInfo = new QPushButton(tr("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(twipsRect(4260, 3075, 1245, 345));
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    setTabOrder(m_cmdOK, cmdSysInfo);
}

int frmAbout::showModal()
{
    Form_Load();
    m_cmdOK->setFocus();
    return exec();
}

void frmAbout::Form_Load()
{
    const QString title = QString::fromUtf8(Version::Title);
    setWindowTitle(tr("About %1").arg(title));
    m_lblVersion->setText(
        tr("Version %1.%2.%3").arg(Version::Major).arg(Version::Minor).arg(Version::Revision));
    m_lblDescription->setText(QString::fromUtf8(Version::Description));
    m_lblDisclaimer->setText(QString::fromUtf8(Version::LegalNotice));
    m_lblTitle->setText(title);
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    if (startSystemInformation(*m_services.launcher))
        return;
    m_services.messages->show(this, Messages::Icon::None, QString::fromUtf8(Version::Title),
                              tr("System Information Is Unavailable At This Time"));
}
