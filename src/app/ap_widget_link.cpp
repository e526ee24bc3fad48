// The main window's dialogs about the processor: the login password, the devices and the version.
#include "app/ap_widget.h"

#include "admin/device_list.h"
#include "admin/device_version_dlg.h"
#include "admin/devices_dlg.h"
#include "admin/pswd_entry_dlg.h"
#include "common/ini_store.h"
#include "gui/dialog_run.h"

#include <QDialog>

orba::LoginAnswer tcApWidget::askLogin()
{
    orba::LoginAnswer answer;
    if (m_tornDown)
        return answer;
    tcPswdEntryDlg dialog(tcPswdEntryDlg::Login, 0, this);
    answer.given = orba::runDialog(&dialog) == QDialog::Accepted;
    answer.loginCrc = dialog.passwordCrc();
    if (answer.given && dialog.remember()) {
        if (DeviceRecord *device = m_devices->current()) {
            device->saveRemoteCrc(answer.loginCrc);
            targetCurrentDevice();
        }
    }
    return answer;
}

void tcApWidget::slot_version_dlg()
{
    if (m_tornDown || !require_online(QStringLiteral("ORBA Version")))
        return;
    orba::Session &s = *m_session;
    tcDeviceVersionDlg dialog(s.versionRecord(), this);
    connect(&s, &orba::Session::sig_recv_version, &dialog, &tcDeviceVersionDlg::slot_recv_version);
    s.link().request_version();
    orba::runDialog(&dialog);
}

void tcApWidget::slot_device_dlg()
{
    if (m_tornDown)
        return;
    tcDevicesDlg dialog(m_devices.get(), this);
    if (orba::runDialog(&dialog) != QDialog::Accepted)
        return;
    const int row = dialog.selectedRow();
    const bool online = onlineWanted();
    if (online)
        set_online(false);
    m_devices->setCurrentIndex(row);
    targetCurrentDevice();
    if (online)
        set_online(true);
    const QString name = m_devices->nameAt(row);
    m_settings->writeString(QStringLiteral("DEVICE"), QStringLiteral("name"), name);
    set_device_text(name, StatusLook::Normal);
}
