// The main window's three protections: the GUI lock with its access code and restriction bits,
// the processor's login password, and its front-panel password.
#include "app/ap_widget.h"

#include "admin/access_dlgs.h"
#include "admin/device_list.h"
#include "admin/pswd_entry_dlg.h"
#include "common/message.h"
#include "gui/dialog_run.h"
#include "panels/access_classes.h"
#include "tables/globals_map.h"

namespace {

const QString kLockTitle = QStringLiteral("GUI Lock");

// A device file that cannot be written: the record still holds what the file holds.
void reportNotSaved(QWidget *parent, const QString &title, const DeviceRecord &device,
                    const QString &consequence)
{
    orba::showMessage(orba::MessageKind::Warning, parent, title,
                      QStringLiteral("The device file \"%1\" could not be written.\n%2")
                          .arg(device.filePath(), consequence));
}

} // namespace

bool tcApWidget::kelAskAccessCode(uint32_t codeCrc)
{
    if (m_tornDown)
        return false;
    tcGuiLockCheckDlg dialog(this);
    return orba::runDialog(&dialog) == QDialog::Accepted && orba::accessCrc(dialog.code()) == codeCrc;
}

void tcApWidget::kelUnlocked()
{
    DeviceRecord *device = m_devices->current();
    if (device && !device->saveLocked(false))
        reportNotSaved(this, kLockTitle, *device,
                       QStringLiteral("The GUI is unlocked until the program ends, and locked again "
                                      "when it next connects."));
}

void tcApWidget::benchApplyAccess(uint32_t codeCrc, uint32_t bits, bool locked)
{
    tcKelBench *b = kelBench();
    if (!b)
        return;
    b->setAccess(codeCrc, bits);
    b->setLock(locked);
    if (b->locked() && b->lockCode() != 0 && (b->lockBits() & orba::kRestrictScreens) != 0)
        b->setScreen(tcKelBench::kSystemScreen);
}

void tcApWidget::benchApplyAccess(const DeviceRecord &device)
{
    benchApplyAccess(device.userCodeCrc(), device.userFlags(), device.userLocked());
}

void tcApWidget::benchClearAccess()
{
    if (tcKelBench *b = kelBench())
        b->setAccess(0, 0);
}

void tcApWidget::processorAccessChanged()
{
    DeviceRecord *device = m_devices->current();
    if (!device)
        return;
    const auto code = uint32_t(m_session->globals().get(G_LOCAL_PW));
    const auto bits = uint32_t(m_session->globals().get(G_LOCAL_ACC));
    // The processor's code holds for this connection even when it cannot be remembered.
    if (!device->saveAccess(code, bits, device->userLocked()))
        reportNotSaved(this, QStringLiteral("GUI Access Code & Permissions"), *device,
                       QStringLiteral("The processor's new access code is used until the program ends."));
    benchApplyAccess(code, bits, device->userLocked());
}

// Lock and code need the processor: offline the code is not known, and one set here would be
// overwritten by the processor's at the next connect.
bool tcApWidget::accessEditable(const tcKelBench *bench, const DeviceRecord *device) const
{
    return !m_tornDown && bench && bench->panelsCreated() && device && linkState() == LinkState::Online;
}

void tcApWidget::slot_gui_lock()
{
    tcKelBench *b = kelBench();
    DeviceRecord *device = m_devices->current();
    if (!accessEditable(b, device))
        return;
    auto inform = [this](const QString &text) {
        orba::showMessage(orba::MessageKind::Information, this, kLockTitle, text);
    };
    if (b->locked())
        return inform(QStringLiteral("This GUI interface is already locked."));
    if (b->lockCode() == 0)
        return inform(
            QStringLiteral("No password, the GUI will not be locked.\nSet a GUI access password first."));
    if (orba::showMessage(orba::MessageKind::Question, this, kLockTitle,
                          QStringLiteral("Are you sure you want to lock this GUI interface?"),
                          orba::MsgYes | orba::MsgNo) != orba::MsgYes)
        return;
    tcGuiLockCheckDlg dialog(this);
    dialog.setWindowTitle(QStringLiteral("Enter Lock Access Code"));
    if (orba::runDialog(&dialog) != QDialog::Accepted)
        return;
    if (orba::accessCrc(dialog.code()) != b->lockCode())
        return inform(QStringLiteral("Incorrect access code, the GUI will not be locked."));
    // A lock the next start would not find is no lock.
    if (!device->saveLocked(true))
        return reportNotSaved(this, kLockTitle, *device, QStringLiteral("The GUI was not locked."));
    b->setLock(true);
    inform(QStringLiteral("This GUI interface is now locked."));
}

void tcApWidget::slot_gui_access()
{
    tcKelBench *b = kelBench();
    DeviceRecord *device = m_devices->current();
    if (!accessEditable(b, device))
        return;
    tcPasswordDlg dialog(QString(), device->userFlags(), this);
    if (orba::runDialog(&dialog) != QDialog::Accepted)
        return;
    const uint32_t code = dialog.codeCrc();
    const uint32_t bits = dialog.bits();
    if (!device->saveAccess(code, bits, b->locked()))
        return reportNotSaved(this, QStringLiteral("GUI Access Code & Permissions"), *device,
                              QStringLiteral("The access code and permissions were not changed."));
    benchApplyAccess(*device);
    orba::Session &s = *m_session;
    s.globals().set(G_LOCAL_PW, int32_t(code), CHANGE_USER);
    s.globals().set(G_LOCAL_ACC, int32_t(bits), CHANGE_USER);
}

void tcApWidget::slot_password_dlg()
{
    if (m_tornDown || !require_online(QStringLiteral("Password Update")))
        return;
    orba::Session &s = *m_session;
    tcPswdEntryDlg dialog(tcPswdEntryDlg::Change, uint32_t(s.globals().get(G_REMOTE_PW)), this);
    if (orba::runDialog(&dialog) != QDialog::Accepted)
        return;
    const uint32_t crc = dialog.newPasswordCrc();
    if (dialog.remember()) {
        if (DeviceRecord *device = m_devices->current()) {
            if (device->saveRemoteCrc(crc))
                targetCurrentDevice();
            else
                reportNotSaved(this, QStringLiteral("Password Update"), *device,
                               QStringLiteral("The new password is set on the processor but not remembered."));
        }
    }
    s.globals().set(G_REMOTE_PW, int32_t(crc), CHANGE_USER);
}

void tcApWidget::slot_fppasswd_dlg()
{
    if (m_tornDown || !require_online(QStringLiteral("Front Panel Password")))
        return;
    orba::Session &s = *m_session;
    tcFpPasswdDlg dialog(s.globals().get(G_FP_PSWD), this);
    if (orba::runDialog(&dialog) == QDialog::Accepted)
        s.globals().set(G_FP_PSWD, dialog.value(), CHANGE_USER);
}
