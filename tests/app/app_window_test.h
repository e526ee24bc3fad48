// The main window against a loopback processor, in a fresh working folder.
#pragma once

#include "admin/device_list.h"
#include "app/kel_widget.h"
#include "common/ini_store.h"
#include "gui/dialog_run.h"
#include "gui/gui_object.h"
#include "link/frames.h"
#include "link/link_watch.h"
#include "link/message_link.h"
#include "loopback_peer.h"
#include "message_recorder.h"
#include "panel_skin.h"
#include "wait.h"
#include "work_dir.h"

#include <QApplication>
#include <QDialog>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace orba::test {

class AppWindowTest : public WorkDirTest
{
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        QDir().mkpath(QStringLiteral("maps"));
        options.processorPort = peer.port();
        options.meterFirstPort = freeUdpPort();
        m_previousDialogs = setDialogHandler([this](QDialog *d) { return answer ? answer(d) : int(QDialog::Rejected); });
    }
    void TearDown() override
    {
        closeWindow();
        setDialogHandler(m_previousDialogs);
        WorkDirTest::TearDown();
    }
    static void setting(const QString &section, const QString &key, const QString &value)
    {
        IniStore ini(QStringLiteral("KELQT.ini"), IniStore::XmlFile);
        ini.writeString(section, key, value);
    }
    static void addDevice(const QString &name, const QString &address, uint32_t rcrc = 0)
    {
        DeviceRecord device(name, QDir(QStringLiteral("maps")));
        device.setIpAddress(address);
        device.saveAddress();
        device.saveRemoteCrc(rcrc);
    }
    // The test panel skin as the skin folder "default", and the device "Studio" on this machine as
    // the current one.
    void useStudioWithPanelSkin()
    {
        writePanelSkin(path(QStringLiteral("skins/default")));
        setting(QStringLiteral("SKIN"), QStringLiteral("file"), QStringLiteral("0"));
        addDevice(QStringLiteral("Studio"), QStringLiteral("127.0.0.1"));
        setting(QStringLiteral("DEVICE"), QStringLiteral("name"), QStringLiteral("Studio"));
    }
    void closeWindow()
    {
        if (window) {
            window->close();
            window.reset();
        }
    }
    // A new window; one already open is closed first, as at the end of a run.
    KelWidget &open()
    {
        closeWindow();
        window = std::make_unique<KelWidget>(options);
        QApplication::processEvents(); // the queued start-up actions
        return *window;
    }
    Session &session() { return window->session(); }
    template <class T> T *object(const char *name)
    {
        return static_cast<T *>(tcGuiObject::find(window->kelBench(), NameString(name)));
    }
    // The client may see its connection made before the peer's thread has taken it.
    void reply(const uint8_t *frame, size_t length)
    {
        ASSERT_TRUE(waitProcessingEvents([&] { return peer.connected(); }));
        ASSERT_TRUE(peer.send(frame, length));
    }
    // On line with the handshake done.
    void goOnline()
    {
        window->set_online(true);
        ASSERT_TRUE(waitProcessingEvents([&] { return window->linkState() == LinkState::Pending; }));
        ASSERT_TRUE(waitProcessingEvents([&] { return !peer.framesOfType(MSG_CONNECT).empty(); }));
        uint8_t f[CONNECT_REPLY_LENGTH];
        reply(f, buildConnectReply(f, CONNECT_ACCEPTED));
        ASSERT_TRUE(waitProcessingEvents([&] { return window->linkState() == LinkState::Online; }));
        // Going online asks for the meters: let that frame in first, so a test that clears the
        // peer next sees only its own frames.
        ASSERT_TRUE(waitProcessingEvents([&] {
            return !peer.framesOfType(MSG_METER_REQUEST_UDP).empty() ||
                   !peer.framesOfType(MSG_METER_REQUEST_TCP).empty();
        }));
    }
    // Everything the window has sent so far has reached the peer, for checks that something was
    // not sent: queued sends go out, then a ping, which arrives after them.
    void sentArrived()
    {
        QApplication::processEvents();
        const size_t pings = peer.framesOfType(MSG_PING).size();
        session().link().send_ping();
        ASSERT_TRUE(waitProcessingEvents([&] { return peer.framesOfType(MSG_PING).size() > pings; }));
    }

    // A lost link comes back soon; the dead-processor limits stay as shipped unless a test says so.
    SessionOptions options{0, 0, LinkLimits{200, 10000, 15000}};
    LoopbackPeer peer;
    MessageRecorder messages;
    // Answers every dialog the window runs; without one, dialogs are cancelled.
    std::function<int(QDialog *)> answer;
    std::unique_ptr<KelWidget> window;

private:
    DialogHandler m_previousDialogs;
};

} // namespace orba::test
