#include "admin/net_server_dlg.h"

#include "admin/dialog_place.h"
#include "common/message.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit *edit(QWidget *parent, const char *name, const char *mask, const char *text, const char *tip)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    if (mask)
        e->setInputMask(QString::fromLatin1(mask));
    e->setText(QString::fromLatin1(text));
    e->setToolTip(QString::fromLatin1(tip));
    return e;
}

QLabel *label(QWidget *parent, const char *name, const char *text, QWidget *buddy)
{
    auto *l = new QLabel(QString::fromLatin1(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setBuddy(buddy);
    return l;
}

} // namespace

tcNetServerDlg::tcNetServerDlg(const orba::BootServerOptions &options, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("tcNetServerDlg"));
    setWindowTitle(QStringLiteral("IP Assignment"));
    orba::prepareDialog(this);

    auto *filter = new QGroupBox(QStringLiteral("Device Filter:"), this);
    m_mac = edit(filter, "edit_MAC", "HH:HH:HH:HH:HH:HH;", "00:00:00:00:00:00",
                 "The MAC address of the audio processor hardware you wish to program. This field acts as a "
                 "filter so only the matching hardware is configured.");
    auto *filterGrid = new QGridLayout(filter);
    filterGrid->addWidget(label(filter, "label_MAC", "MAC Address:", m_mac), 0, 0);
    filterGrid->addWidget(m_mac, 0, 1);

    auto *settings = new QGroupBox(QStringLiteral("New IP Settings:"), this);
    m_ip = edit(settings, "edit_IP", "009.009.009.009;", "192.168.1.",
                "The IP address to assign to the audio processor hardware.");
    m_subnet = edit(settings, "edit_SN", "009.009.009.009;", "255.255.255.0",
                    "The subnet to assign to the audio processor hardware.");
    m_gateway =
        edit(settings, "edit_GW", "009.009.009.009;", "255.255.255.255",
             "The gateway address to assign to the audio processor hardware (255.255.255.255 if none).");
    m_name = edit(settings, "edit_NAME", nullptr, "NoName",
                  "The name (max 8 chars) to assign to the audio processor hardware.");
    auto *grid = new QGridLayout(settings);
    grid->addWidget(label(settings, "label_IP", "IP Address:", m_ip), 0, 0);
    grid->addWidget(m_ip, 0, 1);
    grid->addWidget(label(settings, "label_SN", "Subnet:", m_subnet), 1, 0);
    grid->addWidget(m_subnet, 1, 1);
    grid->addWidget(label(settings, "label_GW", "Gateway:", m_gateway), 2, 0);
    grid->addWidget(m_gateway, 2, 1);
    grid->addWidget(label(settings, "label_NAME", "Name:", m_name), 3, 0);
    grid->addWidget(m_name, 3, 1);

    m_lcd = new QLCDNumber(5, this);
    m_lcd->setObjectName(QStringLiteral("lcd_REQ"));
    m_lcd->setSegmentStyle(QLCDNumber::Flat);
    m_lcd->setMinimumSize(90, 30);
    m_lcd->setToolTip(QStringLiteral(
        "This counter increments each time a boot request is received from the specified MAC address. A boot "
        "reply is also sent for each increment, but may require a few retries to be received since it's a "
        "UDP "
        "broadcast."));
    m_start = new QPushButton(QStringLiteral("Start"), this);
    m_start->setObjectName(QStringLiteral("btn_START"));
    m_start->setToolTip(
        QStringLiteral("Boot replies will only be sent while this button is pressed. This "
                       "prevents accidental assignments with partially filled in fields above."));
    connect(m_start, &QPushButton::clicked, this, &tcNetServerDlg::on_btn_START_clicked);
    auto *row = new QHBoxLayout;
    row->addWidget(label(this, "label_REQ", "Requests:", m_lcd));
    row->addWidget(m_lcd);
    row->addStretch();
    row->addWidget(m_start);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(filter);
    layout->addWidget(settings);
    layout->addLayout(row);

    connect(this, &tcNetServerDlg::sig_up_count, this, &tcNetServerDlg::slot_up_count, Qt::QueuedConnection);
    connect(this, &tcNetServerDlg::sig_shut_me_down, this, &tcNetServerDlg::slot_shut_me_down,
            Qt::QueuedConnection);
    m_start->setText(QStringLiteral("START"));
    m_lcd->display(0);

    m_server = new orba::tcNetServerDlgThrd(options, this);
    // The worker raises it; the counter moves on this thread.
    connect(m_server, &orba::tcNetServerDlgThrd::sig_up_count, this, &tcNetServerDlg::sig_up_count);
    if (!m_server->open()) {
        orba::showMessage(orba::MessageKind::Critical, this, QStringLiteral("Error"),
                          QStringLiteral("Socket bind to UDP port %1 failed.").arg(options.port));
        emit sig_shut_me_down();
    }
}

tcNetServerDlg::~tcNetServerDlg()
{
    // The worker goes first, so nothing is counted into a half-destroyed dialog.
    delete m_server;
    m_server = nullptr;
}

void tcNetServerDlg::slot_up_count()
{
    m_lcd->display(++m_requests);
}

void tcNetServerDlg::slot_shut_me_down()
{
    reject();
}

void tcNetServerDlg::setEditsEnabled(bool enabled)
{
    for (QLineEdit *e : {m_mac, m_ip, m_subnet, m_gateway, m_name})
        e->setEnabled(enabled);
}

void tcNetServerDlg::on_btn_START_clicked()
{
    if (m_running) {
        m_running = false;
        m_server->stop();
        m_start->setText(QStringLiteral("START"));
        setEditsEnabled(true);
        return;
    }
    m_requests = 0;
    m_lcd->display(0);
    orba::macFromText(m_mac->text(), m_settings.mac);
    orba::addressFromText(m_ip->text(), m_settings.ip);
    orba::addressFromText(m_subnet->text(), m_settings.subnet);
    orba::addressFromText(m_gateway->text(), m_settings.gateway);
    orba::nameFromText(m_name->text(), m_settings.name);
    m_running = true;
    m_server->start(m_settings);
    m_start->setText(QStringLiteral("STOP"));
    setEditsEnabled(false);
    orba::showMessage(orba::MessageKind::Information, this, QStringLiteral("Reboot"),
                      QStringLiteral("Please reboot the ORBA,\nand wait for \"requests\" to increment."));
}
