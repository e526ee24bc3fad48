// The GUI lock and the login password against the simulator: what is set through the dialogs is
// held by the processor and by the device file, survives a restart of the application, and guards
// the surface.
#include "admin/access_dlgs.h"
#include "admin/device_list.h"
#include "admin/pswd_entry_dlg.h"
#include "code_prompt.h"
#include "common/crc32.h"
#include "e2e_fixture.h"
#include "panels/access_classes.h"

#include <QCheckBox>
#include <QLineEdit>

using namespace orba;
using orba::test::waitFor;

namespace {

class AccessEndToEnd : public orba::test::EndToEnd
{
protected:
    void typeCode(const QString &code) { answer = prompts.answer(code); }
    static DeviceRecord device() { return DeviceRecord(QStringLiteral("Simulator"), QDir(QStringLiteral("maps"))); }

    test::CodePrompts prompts;
};

TEST_F(AccessEndToEnd, ALockSetHereHoldsAfterARestartAndTheRightCodeOpensIt)
{
    quiet(); // the globals of the login are in: they would overwrite ours before they go out
    answer = [](QDialog *d) {
        auto *dlg = qobject_cast<tcPasswordDlg *>(d);
        EXPECT_NE(dlg, nullptr);
        dlg->codeEdit()->setText(QStringLiteral("4321"));
        dlg->findChild<QCheckBox *>(QStringLiteral("screenBox"))->setChecked(true);
        dlg->findChild<QCheckBox *>(QStringLiteral("paramBox"))->setChecked(true);
        dlg->accept();
        return dlg->result();
    };
    window->slot_gui_access();
    typeCode(QStringLiteral("4321"));
    messages.answer(MsgYes);
    window->slot_gui_lock();
    ASSERT_TRUE(window->kelBench()->locked());
    EXPECT_EQ(prompts.count, 1);
    prompts.count = 0;
    quiet(); // the globals have reached the simulator

    // The code and bits come back from the processor, not from this workstation's file.
    closeWindow();
    {
        DeviceRecord d = device();
        ASSERT_TRUE(d.saveAccess(0, 0, true));
    }
    messages.clear();
    openWindow();
    tcKelBench *bench = window->kelBench();
    ASSERT_TRUE(waitFor([&] { return bench->lockCode() == crc32("4321"); }));
    EXPECT_EQ(bench->lockBits(), uint32_t(kRestrictScreens | kRestrictSettings));
    EXPECT_TRUE(bench->locked());
    EXPECT_EQ(bench->screen(), 0);
    EXPECT_EQ(device().userCodeCrc(), crc32("4321"));

    typeCode(QStringLiteral("1234"));
    click("FLOW_INPUT");
    EXPECT_EQ(prompts.count, 1);
    EXPECT_EQ(bench->screen(), 0);
    EXPECT_TRUE(bench->locked());
    typeCode(QStringLiteral("4321"));
    click("FLOW_INPUT");
    EXPECT_EQ(prompts.count, 2);
    EXPECT_FALSE(bench->locked());
    EXPECT_EQ(bench->screen(), 0) << "the press that asked is dropped";
    click("FLOW_INPUT");
    EXPECT_EQ(bench->screen(), 4);
    EXPECT_EQ(prompts.count, 2);
    EXPECT_FALSE(device().userLocked());
}

TEST_F(AccessEndToEnd, ALoginPasswordChangedHereIsAskedByTheProcessorAtTheNextConnect)
{
    quiet();
    answer = [](QDialog *d) {
        auto *dlg = qobject_cast<tcPswdEntryDlg *>(d);
        EXPECT_NE(dlg, nullptr);
        dlg->findChild<QLineEdit *>(QStringLiteral("edit_new"))->setText(QStringLiteral("on air"));
        dlg->findChild<QLineEdit *>(QStringLiteral("edit_verify"))->setText(QStringLiteral("on air"));
        dlg->accept();
        return dlg->result();
    };
    window->slot_password_dlg();
    quiet();
    window->set_online(false);
    ASSERT_TRUE(waitFor([&] { return window->linkState() == LinkState::Offline; }));

    int logins = 0;
    answer = [&](QDialog *d) {
        ++logins;
        d->findChild<QLineEdit *>(QStringLiteral("edit_pswd"))->setText(QStringLiteral("on air"));
        return int(QDialog::Accepted);
    };
    window->set_online(true);
    ASSERT_TRUE(waitFor([&] { return window->statusText() == QStringLiteral("Online"); }))
        << window->statusText().toStdString();
    EXPECT_EQ(logins, 1);
}

} // namespace
