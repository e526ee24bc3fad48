// The application against the processor simulator on loopback, with the default skin: a fresh
// working folder with one device "Simulator", the simulator started with its own state folder, and
// the window opened on line.
#pragma once

#include "app/kel_widget.h"
#include "common/ini_store.h"
#include "gui/dialog_run.h"
#include "gui/gui_object.h"
#include "link/message_link.h"
#include "link/records.h"
#include "loopback_peer.h"
#include "message_recorder.h"
#include "sim_process.h"
#include "wait.h"
#include "work_dir.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace orba::test {

inline bool waitFor(const std::function<bool()> &condition, int timeoutMs = 10000)
{
    return orba::test::waitProcessingEvents(condition, timeoutMs);
}

class EndToEnd : public orba::test::WorkDirTest
{
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        m_previousDialogs =
            setDialogHandler([this](QDialog *d) { return answer ? answer(d) : int(QDialog::Rejected); });
        const QString skin = QDir(test::binDir()).filePath(QStringLiteral("../skins/default.skin"));
        ASSERT_TRUE(QFile::exists(skin)) << "the default skin is built with the application";
        QDir().mkpath(QStringLiteral("skins"));
        QDir().mkpath(QStringLiteral("maps"));
        ASSERT_TRUE(QFile::copy(skin, QStringLiteral("skins/default.skin")));
        {
            IniStore device(QStringLiteral("maps/Simulator.cfg"), IniStore::XmlFile);
            device.writeString(QStringLiteral("Device"), QStringLiteral("IPAddr"),
                               QStringLiteral("127.0.0.1"));
            IniStore ini(QStringLiteral("KELQT.ini"), IniStore::XmlFile);
            ini.writeString(QStringLiteral("DEVICE"), QStringLiteral("name"), QStringLiteral("Simulator"));
            ini.writeInt(QStringLiteral("OPTIONS"), QStringLiteral("ONLINE"), onLineAtStart ? 1 : 0);
            ini.writeInt(QStringLiteral("OPTIONS"), QStringLiteral("CONTROL"), 4); // the input screen
        }
        sim = std::make_unique<SimProcess>(path(QStringLiteral("sim-state")), simArguments);
        ASSERT_TRUE(sim->start()) << sim->output().toStdString();
        openWindow(onLineAtStart);
    }
    // The application started (again) in this folder, against the running simulator.
    void openWindow(bool online = true)
    {
        orba::SessionOptions options;
        options.processorPort = sim->port();
        options.meterFirstPort = test::freeUdpPort();
        options.limits = limits;
        window = std::make_unique<KelWidget>(options);
        window->show();
        ASSERT_TRUE(window->kelBench() && window->kelBench()->panelsCreated());
        if (!online)
            return;
        ASSERT_TRUE(waitFor([&] { return window->statusText() == QStringLiteral("Online"); }))
            << window->statusText().toStdString();
    }
    void closeWindow()
    {
        if (window) {
            window->close();
            window.reset();
        }
    }
    void TearDown() override
    {
        closeWindow();
        setDialogHandler(m_previousDialogs);
        if (sim)
            sim->stop();
        WorkDirTest::TearDown();
    }
    template <class T> T *object(const char *name)
    {
        return static_cast<T *>(tcGuiObject::find(window->kelBench(), NameString(name)));
    }
    // A left click through the window's own event handling, at the middle of an object.
    void click(const char *name)
    {
        const tcGuiObject *o = object<tcGuiObject>(name);
        ASSERT_NE(o, nullptr) << name;
        ASSERT_TRUE(o->isVisible()) << name;
        const QPoint p = window->kelBench()->toWidgetRect(o->area()).center();
        QMouseEvent press(QEvent::MouseButtonPress, p, window->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(window.get(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, p, window->mapToGlobal(p), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &release);
    }
    // Brings both sides up to date, for counting what was sent: the application has taken all the
    // simulator sent (its reply to a version request comes after it), and the simulator has logged
    // all the application sent (a ping sent now comes after it; the log keeps the order).
    void quiet()
    {
        VersionRecord &version = *window->session().link().context().version;
        version.clear();
        window->session().link().request_version();
        ASSERT_TRUE(waitFor([&] { return version.load().major != 0; }));
        QApplication::processEvents(); // what the answers queued goes out before the ping
        const int pings = sim->framesIn("MSG_PING");
        window->session().link().send_ping();
        ASSERT_TRUE(waitFor([&] { return sim->framesIn("MSG_PING") > pings; }));
    }
    // Waits for a line of the simulator's log while the application runs.
    bool simLogs(const QString &text)
    {
        return waitFor([&] { return sim->output().contains(text); });
    }
    // The "1 entries" value frames from the application, as the simulator logged them.
    int singleValueFrames()
    {
        int n = 0;
        for (const QString &line : sim->lines())
            n += line.contains(QStringLiteral("] in  MSG_VALUES")) &&
                 line.endsWith(QStringLiteral(" 1 entries"));
        return n;
    }

    // What a fixture built on this one may change before the start.
    QStringList simArguments;
    orba::LinkLimits limits;
    bool onLineAtStart = true; // the saved on-line mode the window starts with

    test::MessageRecorder messages;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<KelWidget> window;
    // Answers every dialog the window runs; without one, dialogs are cancelled.
    std::function<int(QDialog *)> answer;

private:
    DialogHandler m_previousDialogs;
};

} // namespace orba::test
