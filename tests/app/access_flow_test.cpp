// Locking, the login and front-panel passwords and unwritable device files, on a loopback peer.
#include "admin/access_dlgs.h"
#include "admin/pswd_entry_dlg.h"
#include "app_window_test.h"
#include "code_prompt.h"
#include "common/crc32.h"
#include "panels/access_classes.h"
#include "test_files.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace orba;
using orba::test::Frame;
using orba::test::waitProcessingEvents;

namespace {

constexpr uint32_t kScreens = orba::kRestrictScreens;

class Access : public test::AppWindowTest
{
protected:
    void SetUp() override
    {
        AppWindowTest::SetUp();
        useStudioWithPanelSkin();
    }
    KelWidget &openWithAccess(uint32_t codeCrc, uint32_t bits, bool locked)
    {
        EXPECT_TRUE(saved().saveAccess(codeCrc, bits, locked));
        KelWidget &w = open();
        goOnline();
        peer.clear();
        return w;
    }
    DeviceRecord saved() const { return DeviceRecord(QStringLiteral("Studio"), QDir(QStringLiteral("maps"))); }
    void typeCode(const QString &code) { answer = prompts.answer(code); }
    // The globals of every MSG_GLOBALS frame the peer has, in order.
    std::map<uint16_t, int32_t> sentGlobals()
    {
        sentArrived();
        std::map<uint16_t, int32_t> out;
        for (const Frame &f : peer.framesOfType(MSG_GLOBALS)) {
            GlobalsMsg g;
            if (parseGlobals(f.data(), f.size(), g))
                for (size_t i = 0; i < g.count; ++i)
                    out[entryId(g.entries + 8 * i)] = entryInt(g.entries + 8 * i);
        }
        return out;
    }

    test::CodePrompts prompts;
};

TEST_F(Access, LockingInformsWhenThereIsNoCodeAndLocksOnlyWithTheRightOne)
{
    KelWidget &w = openWithAccess(0, kScreens, false);
    w.slot_gui_lock();
    ASSERT_EQ(
        messages.only(),
        test::Box("GUI Lock", "No password, the GUI will not be locked.\nSet a GUI access password first."));

    w.kelBench()->setAccess(crc32("2468"), kScreens);
    messages.answer(MsgNo);
    w.slot_gui_lock();
    EXPECT_EQ(prompts.count, 0) << "No: nothing asked";
    typeCode(QStringLiteral("1357"));
    messages.answer(MsgYes);
    w.slot_gui_lock();
    EXPECT_EQ(messages.last().text, QStringLiteral("Incorrect access code, the GUI will not be locked."));
    EXPECT_FALSE(w.kelBench()->locked());
    EXPECT_FALSE(saved().userLocked());

    typeCode(QStringLiteral("2468"));
    messages.answer(MsgYes);
    w.slot_gui_lock();
    EXPECT_EQ(prompts.titles.last(), QStringLiteral("Enter Lock Access Code"));
    EXPECT_EQ(messages.last().text, QStringLiteral("This GUI interface is now locked."));
    EXPECT_TRUE(w.kelBench()->locked());
    EXPECT_TRUE(saved().userLocked());
    w.slot_gui_lock();
    EXPECT_EQ(messages.last().text, QStringLiteral("This GUI interface is already locked."));
}

#ifdef Q_OS_UNIX
TEST_F(Access, ADeviceFileThatCannotBeWrittenIsReportedAndNotTakenAsSaved)
{
    KelWidget &w = openWithAccess(crc32("5"), kScreens, false);
    test::FileSizeLimit limit(20); // as on a full disk
    ASSERT_TRUE(limit.active());
    typeCode(QStringLiteral("5"));
    messages.answer(MsgYes);
    w.slot_gui_lock();
    EXPECT_FALSE(w.kelBench()->locked()) << "a lock the next start would not find";
    EXPECT_EQ(messages.last().title, QStringLiteral("GUI Lock"));
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("The device file \"%1\" could not be written.")
                                                    .arg(w.devices().current()->filePath())));
    EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral("The GUI was not locked.")));

    answer = [](QDialog *d) {
        static_cast<tcPasswordDlg *>(d)->codeEdit()->setText(QStringLiteral("9"));
        return int(QDialog::Accepted);
    };
    peer.clear();
    w.slot_gui_access();
    EXPECT_EQ(messages.last().title, QStringLiteral("GUI Access Code & Permissions"));
    EXPECT_EQ(w.devices().current()->userCodeCrc(), crc32("5"));
    EXPECT_EQ(w.kelBench()->lockCode(), crc32("5"));
    EXPECT_TRUE(sentGlobals().empty()) << "the processor keeps the code the file has";
}
#endif

TEST_F(Access, ThePasswordChangeSendsTheNewCrcAndRemembersItWhenAsked)
{
    KelWidget &w = open();
    goOnline();
    peer.clear();
    answer = [](QDialog *d) {
        auto *dlg = qobject_cast<tcPswdEntryDlg *>(d);
        EXPECT_NE(dlg, nullptr);
        // The processor has no password: its CRC is that of the empty text.
        dlg->findChild<QLineEdit *>(QStringLiteral("edit_new"))->setText(QStringLiteral("transmit"));
        dlg->findChild<QLineEdit *>(QStringLiteral("edit_verify"))->setText(QStringLiteral("transmit"));
        dlg->findChild<QCheckBox *>(QStringLiteral("check_remember"))->setChecked(true);
        dlg->accept();
        return dlg->result();
    };
    w.slot_password_dlg();
    EXPECT_EQ(uint32_t(sentGlobals()[G_REMOTE_PW]), crc32("transmit"));
    EXPECT_EQ(saved().remoteCodeCrc(), crc32("transmit"));
}

TEST_F(Access, TheFrontPanelDialogSendsOnlyAChangedValue)
{
    KelWidget &w = openWithAccess(0, 0, false);
    session().globals().set(G_FP_PSWD, 10001, CHANGE_PROCESSOR);
    int shownValue = -1;
    answer = [&](QDialog *d) {
        auto *dlg = qobject_cast<tcFpPasswdDlg *>(d);
        EXPECT_NE(dlg, nullptr);
        shownValue = dlg->findChild<QRadioButton *>(QStringLiteral("disableRadio"))->isChecked() ? 10001 : 0;
        dlg->on_okay_clicked();
        return dlg->result();
    };
    w.slot_fppasswd_dlg();
    EXPECT_EQ(shownValue, 10001);
    EXPECT_TRUE(sentGlobals().empty());
    answer = [](QDialog *d) {
        d->findChild<QRadioButton *>(QStringLiteral("passwordRadio"))->setChecked(true);
        d->findChild<QLineEdit *>(QStringLiteral("pwEdit"))->setText(QStringLiteral("0"));
        static_cast<tcFpPasswdDlg *>(d)->on_okay_clicked();
        return d->result();
    };
    w.slot_fppasswd_dlg();
    EXPECT_EQ(sentGlobals()[G_FP_PSWD], 0);
}

} // namespace
