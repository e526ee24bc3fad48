// The window as a view of its session: link state, login, device choice and the version dialog.
#include "admin/device_version_dlg.h"
#include "admin/devices_dlg.h"
#include "admin/pswd_entry_dlg.h"
#include "app_window_test.h"
#include "common/crc32.h"
#include "gui/gui_checkbox.h"
#include "gui/gui_display.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>

#include <gtest/gtest.h>

using namespace orba;
using orba::test::Frame;
using orba::test::waitProcessingEvents;

namespace {

class Connection : public test::AppWindowTest
{
protected:
    void SetUp() override
    {
        AppWindowTest::SetUp();
        test::writePanelSkin(path(QStringLiteral("skins/default")));
        setting(QStringLiteral("SKIN"), QStringLiteral("file"), QStringLiteral("0"));
    }
    KelWidget &open(const QString &device = QStringLiteral("Studio"), uint32_t rcrc = 0x1234)
    {
        addDevice(device, QStringLiteral("127.0.0.1"), rcrc);
        setting(QStringLiteral("DEVICE"), QStringLiteral("name"), device);
        return AppWindowTest::open();
    }
    std::vector<Frame> framesOf(uint8_t type) const { return peer.framesOfType(type); }
    QString shownStatus() { return object<tcGuiDisplay>("STAT_ONLINE")->caption(); }
    bool onlineSwitch() { return object<tcGuiCheckBox>("ONLINE")->checked(); }
    bool onlineMenuChecked()
    {
        for (QAction *menu : window->popupMenu()->actions())
            if (menu->menu())
                for (QAction *a : menu->menu()->actions())
                    if (a->text() == QStringLiteral("On-Line Mode..."))
                        return a->isChecked();
        ADD_FAILURE() << "no On-Line Mode entry";
        return false;
    }
    // Picks a device by name in the devices dialog, as the user does.
    void chooseDevice(const QString &name)
    {
        const int row = window->devices().indexOf(window->devices().findByName(name));
        answer = [row](QDialog *d) {
            EXPECT_NE(qobject_cast<tcDevicesDlg *>(d), nullptr);
            d->findChild<QListWidget *>(QStringLiteral("listWidget"))->setCurrentRow(row);
            d->accept();
            return d->result();
        };
        window->slot_device_dlg();
    }
    static int savedOnline()
    {
        IniStore saved(QStringLiteral("KELQT.ini"), IniStore::XmlFile);
        return saved.readInt(QStringLiteral("OPTIONS"), QStringLiteral("ONLINE"), 9);
    }
};

TEST_F(Connection, TheSkinTheMenuAndTheSettingsFollowTheSession)
{
    KelWidget &w = open();
    EXPECT_EQ(w.deviceText(), QStringLiteral("Studio"));
    EXPECT_EQ(object<tcGuiDisplay>("STAT_DEVICE")->caption(), QStringLiteral("Studio"));
    EXPECT_EQ(shownStatus(), QStringLiteral("OffLine"));
    EXPECT_EQ(savedOnline(), 0);

    goOnline();
    EXPECT_EQ(shownStatus(), QStringLiteral("Online"));
    EXPECT_EQ(w.statusLook(), StatusLook::Normal);
    EXPECT_TRUE(onlineSwitch());
    EXPECT_TRUE(onlineMenuChecked());
    EXPECT_EQ(savedOnline(), 1);

    w.slot_menu_on_line();
    ASSERT_TRUE(waitProcessingEvents([&] { return w.linkState() == LinkState::Offline; }));
    EXPECT_EQ(shownStatus(), QStringLiteral("Offline"));
    EXPECT_FALSE(onlineSwitch());
    EXPECT_FALSE(onlineMenuChecked());
    EXPECT_EQ(savedOnline(), 0);
}

TEST_F(Connection, OnLineModeSavedIsTakenUpAtTheNextStart)
{
    setting(QStringLiteral("OPTIONS"), QStringLiteral("ONLINE"), QStringLiteral("1"));
    KelWidget &w = open();
    ASSERT_TRUE(waitProcessingEvents([&] { return !framesOf(MSG_CONNECT).empty(); }));
    EXPECT_TRUE(w.onlineWanted());
    EXPECT_TRUE(onlineSwitch());
}

TEST_F(Connection, TheDevicesLockComesWithTheLinkAndGoesWithIt)
{
    ASSERT_TRUE(
        DeviceRecord(QStringLiteral("Studio"), QDir(QStringLiteral("maps"))).saveAccess(0x2468, 0, false));
    KelWidget &w = open();
    EXPECT_EQ(w.kelBench()->lockCode(), 0u);
    goOnline();
    EXPECT_EQ(w.kelBench()->lockCode(), 0x2468u);
    peer.closeConnection();
    ASSERT_TRUE(waitProcessingEvents([&] { return w.kelBench()->lockCode() == 0; }));
}

TEST_F(Connection, TheLoginDialogCancelledEndsOnRejected)
{
    KelWidget &w = open();
    int asked = 0;
    answer = [&](QDialog *d) {
        EXPECT_NE(qobject_cast<tcPswdEntryDlg *>(d), nullptr);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Login Password"));
        EXPECT_FALSE(d->findChild<QLineEdit *>(QStringLiteral("edit_new"))->isVisibleTo(d));
        EXPECT_FALSE(d->findChild<QLineEdit *>(QStringLiteral("edit_verify"))->isVisibleTo(d));
        EXPECT_EQ(d->findChild<QLineEdit *>(QStringLiteral("edit_pswd"))->echoMode(), QLineEdit::Password);
        ++asked;
        return int(QDialog::Rejected);
    };
    w.set_online(true);
    ASSERT_TRUE(waitProcessingEvents([&] { return !framesOf(MSG_CONNECT).empty(); }));
    uint8_t f[CONNECT_REPLY_LENGTH];
    reply(f, buildConnectReply(f, CONNECT_PASSWORD));
    ASSERT_TRUE(waitProcessingEvents([&] { return w.linkState() == LinkState::Offline; }));
    QApplication::processEvents();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(w.onlineWanted());
    EXPECT_FALSE(onlineSwitch());
    EXPECT_EQ(shownStatus(), QStringLiteral("Rejected"));
    EXPECT_EQ(w.statusLook(), StatusLook::Alert);
}

TEST_F(Connection, ThePasswordRememberedInTheLoginDialogIsSavedAndUsedAgain)
{
    KelWidget &w = open(QStringLiteral("Studio"), 0);
    answer = [&](QDialog *d) {
        d->findChild<QLineEdit *>(QStringLiteral("edit_pswd"))->setText(QStringLiteral("open sesame"));
        d->findChild<QCheckBox *>(QStringLiteral("check_remember"))->setChecked(true);
        return int(QDialog::Accepted);
    };
    const uint32_t crc = orba::crc32(std::string_view("open sesame"));
    w.set_online(true);
    ASSERT_TRUE(waitProcessingEvents([&] { return !framesOf(MSG_CONNECT).empty(); }));
    uint8_t f[CONNECT_REPLY_LENGTH];
    reply(f, buildConnectReply(f, CONNECT_PASSWORD));
    ASSERT_TRUE(waitProcessingEvents([&] { return framesOf(MSG_CONNECT).size() == 2; }));
    EXPECT_EQ(w.devices().current()->remoteCodeCrc(), crc);
    IniStore cfg(QStringLiteral("maps/Studio.cfg"), IniStore::XmlFile);
    EXPECT_EQ(uint32_t(cfg.readInt(QStringLiteral("Access"), QStringLiteral("rcrc"), 0)), crc);

    // The next link logs in with it straight away.
    answer = nullptr;
    peer.closeConnection();
    ASSERT_TRUE(waitProcessingEvents([&] { return framesOf(MSG_CONNECT).size() == 3; }));
    uint32_t third = 0;
    const Frame login = framesOf(MSG_CONNECT)[2];
    ASSERT_TRUE(parseConnect(login.data(), login.size(), third));
    EXPECT_EQ(third, crc);
}

TEST_F(Connection, ChoosingAnotherDeviceWhileOnlineReconnectsToItAndSavesTheChoiceAtOnce)
{
    addDevice(QStringLiteral("Backup"), QStringLiteral("127.0.0.1"), 0x2222);
    KelWidget &w = open(QStringLiteral("Main"), 0x1111);
    goOnline();
    chooseDevice(QStringLiteral("Backup"));
    EXPECT_EQ(w.devices().current()->name(), QStringLiteral("Backup"));
    EXPECT_EQ(w.deviceText(), QStringLiteral("Backup"));
    EXPECT_TRUE(w.onlineWanted());

    ASSERT_TRUE(peer.waitAccepted(2));
    ASSERT_TRUE(waitProcessingEvents([&] { return framesOf(MSG_CONNECT).size() == 2; }));
    const Frame second = framesOf(MSG_CONNECT)[1];
    uint32_t crc = 0;
    ASSERT_TRUE(parseConnect(second.data(), second.size(), crc));
    EXPECT_EQ(crc, 0x2222u);
    // On disk while the application runs: a crash now reconnects to the chosen device.
    IniStore onDisk(QStringLiteral("KELQT.ini"), IniStore::XmlFile);
    EXPECT_EQ(onDisk.readString(QStringLiteral("DEVICE"), QStringLiteral("name"), {}),
              QStringLiteral("Backup"));
}

TEST_F(Connection, ChoosingADeviceOfflineOnlyMakesItCurrent)
{
    addDevice(QStringLiteral("Backup"), QStringLiteral("127.0.0.1"));
    KelWidget &w = open(QStringLiteral("Main"));
    chooseDevice(QStringLiteral("Backup"));
    EXPECT_EQ(w.devices().current()->name(), QStringLiteral("Backup"));
    EXPECT_EQ(session().target().name, QStringLiteral("Backup"));
    test::processEventsFor(50);
    EXPECT_EQ(peer.accepted(), 0);
}

TEST_F(Connection, TheVersionDialogShowsEachTextOfTheReplyUnderItsOwnLabel)
{
    KelWidget &w = open();
    goOnline();
    peer.onFrame([&](const Frame &f) {
        if (f[4] != MSG_VERSION_REQUEST)
            return;
        ProcessorVersion v;
        v.major = 3;
        v.minor = 1;
        v.build = 42;
        std::strcpy(v.text[0], "Jun  5 2009");
        std::strcpy(v.text[1], "FPGA 2.0");
        std::strcpy(v.text[2], "DSP 1.7");
        uint8_t out[VERSION_LENGTH];
        peer.send(out, buildVersion(out, v));
    });
    QStringList shown;
    answer = [&](QDialog *d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Processor Version"));
        auto *version = d->findChild<QLabel *>(QStringLiteral("labelVersion"));
        EXPECT_EQ(version->text(), QStringLiteral("Querying version info..."));
        waitProcessingEvents([&] { return version->text().startsWith(QStringLiteral("Version: 3")); });
        for (const char *label : {"labelVersion", "labelDSP", "labelFPGA", "labelBuild"})
            shown << d->findChild<QLabel *>(QLatin1String(label))->text();
        return int(QDialog::Accepted);
    };
    w.slot_version_dlg();
    EXPECT_EQ(shown, QStringList({"Version: 3.1.42", "DSP 1.7", "FPGA 2.0", "Jun  5 2009"}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(Connection, ClosingWithTheLinkUpAndItsReportsQueuedIsHarmless)
{
    KelWidget &w = open();
    w.set_online(true);
    ASSERT_TRUE(peer.waitAccepted(1)); // the link is up, its reports wait in the queue
    w.close();
    QApplication::processEvents();
    EXPECT_FALSE(w.onlineWanted());
    EXPECT_EQ(savedOnline(), 1); // closing is no choice to go off line
    ASSERT_TRUE(waitProcessingEvents([&] { return !peer.connected(); }));
}

} // namespace
