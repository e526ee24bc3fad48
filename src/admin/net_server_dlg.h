// tcNetServerDlg: the "IP Assignment" dialog. It takes the MAC address of a unit and the settings
// to give it; while START is down its boot server answers that unit's boot requests and the
// counter shows how many came. Works without the processor link.
#pragma once

#include "admin/boot_server.h"

#include <QDialog>

class QLCDNumber;
class QLineEdit;
class QPushButton;

class tcNetServerDlg : public QDialog
{
    Q_OBJECT
public:
    explicit tcNetServerDlg(const orba::BootServerOptions &options = {}, QWidget *parent = nullptr);
    ~tcNetServerDlg() override;

    bool running() const { return m_running; }
    int requests() const { return m_requests; }
    const orba::BootSettings &bootSettings() const { return m_settings; }
    orba::tcNetServerDlgThrd &server() { return *m_server; }

    void on_btn_START_clicked();

signals:
    void sig_up_count();
    void sig_shut_me_down();

private:
    void slot_up_count();
    void slot_shut_me_down();
    void setEditsEnabled(bool enabled);

    bool m_running = false;
    int m_requests = 0;
    orba::BootSettings m_settings;
    orba::tcNetServerDlgThrd *m_server = nullptr;
    QLineEdit *m_mac = nullptr;
    QLineEdit *m_ip = nullptr;
    QLineEdit *m_subnet = nullptr;
    QLineEdit *m_gateway = nullptr;
    QLineEdit *m_name = nullptr;
    QLCDNumber *m_lcd = nullptr;
    QPushButton *m_start = nullptr;
};
