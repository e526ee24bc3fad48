// The orba-sim program: its options, its start, the login, the log, and the state kept across runs.
#include "app_client.h"

#include "common/crc32.h"
#include "work_dir.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>

using namespace orba;
using orba::test::AppClient;
using orba::test::waitProcessingEvents;

namespace {

QString simPath()
{
    return QString::fromLocal8Bit(qgetenv("ORBA_BIN_DIR")) + "/orba-sim";
}

// A running orba-sim; stopped (and waited for) when the test ends.
class SimProcess
{
public:
    explicit SimProcess(QStringList args)
    {
        m_process.setProgram(simPath());
        m_process.setArguments(args);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_timer.start();
        m_process.start();
    }
    ~SimProcess() { stop(); }

    // Waits for the "listening" line; 0 when it never came.
    uint16_t waitListening()
    {
        static const QRegularExpression re("listening on 127\\.0\\.0\\.1:(\\d+)");
        uint16_t port = 0;
        waitProcessingEvents(
            [&] {
                m_process.waitForReadyRead(10);
                m_out += m_process.readAllStandardOutput();
                const auto m = re.match(QString::fromLocal8Bit(m_out));
                if (m.hasMatch())
                    port = uint16_t(m.captured(1).toUInt());
                return port != 0 || m_process.state() == QProcess::NotRunning;
            },
            10000);
        m_startMs = m_timer.elapsed();
        return port;
    }
    bool waitOutput(const QString &text)
    {
        return waitProcessingEvents(
            [&] {
                m_process.waitForReadyRead(10);
                m_out += m_process.readAllStandardOutput();
                return m_out.contains(text.toLocal8Bit());
            },
            5000);
    }
    int stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            m_process.waitForFinished(5000);
        }
        m_out += m_process.readAllStandardOutput();
        return m_process.exitCode();
    }
    QByteArray output() const { return m_out; }
    qint64 startMs() const { return m_startMs; }

private:
    QProcess m_process;
    QElapsedTimer m_timer;
    QByteArray m_out;
    qint64 m_startMs = 0;
};

struct SimRun
{
    int code;
    QByteArray out, err;
};

SimRun runSim(const QStringList &args)
{
    QProcess p;
    p.start(simPath(), args);
    p.waitForFinished(10000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

} // namespace

TEST(SimProgram, HelpListsEveryOption)
{
    const SimRun r = runSim({"--help"});
    EXPECT_EQ(r.code, 0);
    for (const char *option : {"--port", "--password", "--meter-rate", "--flash-seconds", "--keepalive-ms",
                               "--state", "--log", "--boot-mac", "--boot-port", "--boot-reply-port"})
        EXPECT_TRUE(r.out.contains(option)) << option;
}

TEST(SimProgram, BadOptionsAreRefusedWithAReason)
{
    SimRun r = runSim({"--meter-rate", "0"});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains("--meter-rate")) << r.err.toStdString();
    r = runSim({"--boot-mac", "00:11:22"});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains("--boot-mac"));
    r = runSim({"stray"});
    EXPECT_EQ(r.code, 2);
}

TEST(SimProgram, StartsListeningAndTheLoginNeedsThePassword)
{
    SimProcess sim({"--port", "0", "--password", "studio"});
    const uint16_t port = sim.waitListening();
    ASSERT_NE(port, 0) << sim.output().toStdString();
    EXPECT_LT(sim.startMs(), 3000);

    AppClient app;
    app.connect(port);
    ASSERT_TRUE(waitProcessingEvents([&] { return app.tcp->isConnected(); }));
    app.link->send_connect(crc32("Studio"));
    ASSERT_TRUE(waitProcessingEvents([&] { return app.connectReplies.load() == 1; }));
    EXPECT_EQ(app.lastConnectReply.load(), CONNECT_PASSWORD);
    app.link->send_connect(crc32("studio"));
    ASSERT_TRUE(waitProcessingEvents([&] { return app.connectReplies.load() == 2; }));
    EXPECT_EQ(app.lastConnectReply.load(), CONNECT_ACCEPTED);
    ASSERT_TRUE(app.waitFrames(MSG_CURRENT_PRESET, 1));
    EXPECT_EQ(app.slotList.get(0).nameText(), "Factory Default");
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_TRUE(sim.output().contains("stopped"));
}

TEST(SimProgram, SecondSimulatorOnTheSamePortSaysWhy)
{
    SimProcess first({"--port", "0"});
    const uint16_t port = first.waitListening();
    ASSERT_NE(port, 0);
    const SimRun r = runSim({"--port", QString::number(port)});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("cannot listen on 127.0.0.1:" + QByteArray::number(port)))
        << r.err.toStdString();
}

TEST(SimProgram, LogShowsAFramePerLineBothWays)
{
    SimProcess sim({"--port", "0", "--log"});
    const uint16_t port = sim.waitListening();
    ASSERT_NE(port, 0);
    AppClient app;
    ASSERT_TRUE(app.connectAndLogin(port));
    app.link->send_ping();
    ASSERT_TRUE(sim.waitOutput("in  MSG_PING"));
    const QByteArray out = sim.output();
    EXPECT_TRUE(out.contains("in  MSG_CONNECT")) << out.toStdString();
    EXPECT_TRUE(out.contains("out MSG_CONNECT"));
    EXPECT_TRUE(out.contains("1196 bytes  target 255, block 1 of 2, 148 entries"));
    EXPECT_EQ(out.count("out MSG_PRESET_HEADERS"), 12);
}

class SimProgramState : public orba::test::WorkDirTest
{
};

TEST_F(SimProgramState, ChangesAreKeptWhenTheProgramIsStoppedAndStartedAgain)
{
    const QStringList args = {"--port", "0", "--state", path("state")};
    {
        SimProcess sim(args);
        const uint16_t port = sim.waitListening();
        ASSERT_NE(port, 0);
        AppClient app;
        ASSERT_TRUE(app.connectAndLogin(port));
        app.link->rename_preset(6, "Renamed Then Stopped");
        ASSERT_TRUE(app.waitFrames(MSG_PRESET_RENAME, 1));
        EXPECT_EQ(sim.stop(), 0); // saved on the way out
    }
    SimProcess sim(args);
    const uint16_t port = sim.waitListening();
    ASSERT_NE(port, 0);
    AppClient app;
    ASSERT_TRUE(app.connectAndLogin(port));
    EXPECT_EQ(app.slotList.get(6).nameText(), "Renamed Then Stopped");
    EXPECT_EQ(app.slotList.get(0).nameText(), "Factory Default");
}
