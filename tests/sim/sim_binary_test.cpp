// The orba-sim program: its options, its start and the login; the end-to-end tests read its log and
// restart it on its state.
// The client here is a plain blocking socket: the in-process tests already run the application's
// threaded link against the simulator, and a test process that also starts programs is best kept
// to one thread.
#include "common/crc32.h"
#include "link/frame_assembler.h"
#include "link/frames.h"
#include "loopback_peer.h"
#include "sim_process.h"
#include "work_dir.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <map>

using namespace orba;
using orba::test::Frame;
using orba::test::SimProcess;

namespace {

// The application's side reduced to frames on a blocking socket.
class RawClient
{
public:
    explicit RawClient(uint16_t port) : m_frames(&RawClient::keep, this)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_connected = ::connect(m_fd, reinterpret_cast<const sockaddr *>(&to), sizeof to) == 0;
    }
    ~RawClient() { ::close(m_fd); }
    bool connected() const { return m_connected; }

    void send(const uint8_t *frame, size_t length)
    {
        ASSERT_EQ(::send(m_fd, frame, length, 0), ssize_t(length));
    }
    void login(uint32_t crc)
    {
        uint8_t f[CONNECT_LENGTH];
        send(f, buildConnect(f, crc));
    }
    // The next frame of a type not yet taken, or an empty one after the deadline.
    Frame next(uint8_t type, int timeoutMs = 5000)
    {
        QElapsedTimer timer;
        timer.start();
        for (;;) {
            for (; m_taken[type] < m_received.size(); ++m_taken[type])
                if (m_received[m_taken[type]][4] == type)
                    return m_received[m_taken[type]++];
            if (timer.elapsed() > timeoutMs)
                return {};
            pollfd p = {m_fd, POLLIN, 0};
            uint8_t buffer[8192];
            if (::poll(&p, 1, 50) > 0) {
                const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
                if (n <= 0)
                    return {};
                m_frames.feed(buffer, size_t(n));
            }
        }
    }
    // Every slot header of a login's state, by slot.
    std::map<int, PresetHeader> loginHeaders()
    {
        std::map<int, PresetHeader> headers;
        for (int i = 0; i < 12; ++i) {
            const Frame f = next(MSG_PRESET_HEADERS);
            PresetHeadersMsg msg;
            if (!parsePresetHeaders(f.data(), f.size(), msg))
                break;
            for (size_t e = 0; e < msg.count; ++e) {
                PresetHeader h;
                h.clear();
                decodePresetEntry(msg.entries + e * PRESET_ENTRY_SIZE, h);
                headers[presetEntrySlot(msg.entries + e * PRESET_ENTRY_SIZE)] = h;
            }
        }
        return headers;
    }

private:
    static void keep(void *self, const uint8_t *frame, size_t length)
    {
        static_cast<RawClient *>(self)->m_received.emplace_back(frame, frame + length);
    }

    int m_fd = -1;
    bool m_connected = false;
    FrameAssembler m_frames;
    std::vector<Frame> m_received;
    std::map<uint8_t, size_t> m_taken;
};

uint16_t connectResult(const Frame &f)
{
    uint16_t result = 0;
    return parseConnectReply(f.data(), f.size(), result) ? result : 0;
}

orba::test::ProgramRun runSim(const QStringList &args)
{
    return orba::test::runProgram(QStringLiteral("orba-sim"), args, 10000);
}

} // namespace

TEST(SimProgram, BadOptionsAreRefusedWithAReason)
{
    auto r = runSim({"--meter-rate", "0"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("--meter-rate")) << r.err.toStdString();
    r = runSim({"--boot-mac", "00:11:22"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("--boot-mac"));
    r = runSim({"stray"});
    EXPECT_EQ(r.status, 2);
}

TEST(SimProgram, StartsListeningAndTheLoginNeedsThePassword)
{
    SimProcess sim({}, {"--password", "studio"});
    ASSERT_TRUE(sim.start()) << sim.output().toStdString();
    const uint16_t port = sim.port();

    RawClient app(port);
    ASSERT_TRUE(app.connected());
    app.login(crc32("Studio"));
    EXPECT_EQ(connectResult(app.next(MSG_CONNECT)), CONNECT_PASSWORD);
    app.login(crc32("studio"));
    EXPECT_EQ(connectResult(app.next(MSG_CONNECT)), CONNECT_ACCEPTED);
    EXPECT_EQ(app.loginHeaders()[0].nameText(), "Factory Default");
    EXPECT_FALSE(app.next(MSG_CURRENT_PRESET).empty());
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_TRUE(sim.output().contains("stopped"));
}

TEST(SimProgram, SecondSimulatorOnTheSamePortSaysWhy)
{
    SimProcess first;
    ASSERT_TRUE(first.start());
    const uint16_t port = first.port();
    const auto r = runSim({"--port", QString::number(port)});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("cannot listen on 127.0.0.1:" + QByteArray::number(port)))
        << r.err.toStdString();
}
