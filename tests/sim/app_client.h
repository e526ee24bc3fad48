// The application's side of the link for simulator tests: the application's own MessageLink on a
// tcQTcpClient, with every record a handler stores into, plus a copy of each frame received, so a
// test can check both what the application took and what the simulator sent.
#pragma once

#include "link/frame_assembler.h"
#include "link/message_link.h"
#include "link/meter.h"
#include "link/records.h"
#include "link/tcp.h"
#include "link_world.h"
#include "loopback_peer.h"
#include "sim/sim_server.h"
#include "wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <vector>

namespace orba::test {

class AppClient : public LinkHost, public LinkWorld
{
public:
    AppClient() : meters(nullptr, nullptr, freeUdpPort()), m_frames(&AppClient::keepFrame, this)
    {
        link = std::make_unique<MessageLink>(context(this, &meters));
        const uint8_t simulator[4] = {127, 0, 0, 1};
        meters.setPeer(simulator);
    }
    ~AppClient() override { disconnect(); }

    void connect(uint16_t port)
    {
        TcpCallbacks cb;
        cb.context = this;
        cb.on_data = [](void *self, const uint8_t *b, size_t n) {
            auto *c = static_cast<AppClient *>(self);
            // Each frame is copied, then given to the link, both under the lock, so a test that
            // saw either the link's effect or the copy finds the other as well.
            std::lock_guard<std::recursive_mutex> g(c->m_lock);
            c->m_frames.feed(b, n);
        };
        cb.on_status = [](void *self, int status) {
            auto *c = static_cast<AppClient *>(self);
            {
                std::lock_guard<std::recursive_mutex> g(c->m_lock);
                c->m_frames.reset();
            }
            if (status == LINK_CLOSED)
                ++c->closes;
        };
        tcp = std::make_unique<tcQTcpClient>("127.0.0.1", port, cb, 200);
        link->setTransport(tcp.get());
    }
    void disconnect()
    {
        link->setTransport(nullptr);
        tcp.reset();
    }

    // Connects and logs in (no password), then waits for the whole state.
    bool connectAndLogin(uint16_t port, uint32_t crc = CONNECT_NO_DEVICE)
    {
        connect(port);
        if (!waitProcessingEvents([&] { return tcp->isConnected(); }))
            return false;
        link->send_connect(crc);
        return waitProcessingEvents([&] { return framesOfType(MSG_CURRENT_PRESET).size() >= 1; });
    }

    // Frames the simulator sent, whole.
    std::vector<Frame> frames() const
    {
        std::lock_guard<std::recursive_mutex> g(m_lock);
        return m_received;
    }
    std::vector<Frame> framesOfType(uint8_t type) const
    {
        std::vector<Frame> out;
        for (const Frame &f : frames())
            if (f.size() >= 6 && f[4] == type)
                out.push_back(f);
        return out;
    }
    void clearFrames()
    {
        std::lock_guard<std::recursive_mutex> g(m_lock);
        m_received.clear();
    }
    // Waits until the simulator has sent at least n frames of a type.
    bool waitFrames(uint8_t type, size_t n, int timeoutMs = 5000)
    {
        return waitProcessingEvents([&] { return framesOfType(type).size() >= n; }, timeoutMs);
    }
    // How many frames of a type arrived once everything the simulator sent before this call has
    // arrived: its reply to a version request comes after them.
    size_t settledCount(uint8_t type)
    {
        const size_t versions = framesOfType(MSG_VERSION).size();
        link->request_version();
        EXPECT_TRUE(waitFrames(MSG_VERSION, versions + 1));
        return framesOfType(type).size();
    }
    void sendRaw(const std::vector<uint8_t> &bytes) { tcp->send(bytes.data(), bytes.size()); }

    std::vector<FwAckMsg> fwAcks() const
    {
        std::lock_guard<std::recursive_mutex> g(m_lock);
        return m_acks;
    }

    // LinkHost
    void linkFirmwareAck(const FwAckMsg &ack) override
    {
        std::lock_guard<std::recursive_mutex> g(m_lock);
        m_acks.push_back(ack);
    }

    METERIFACE meters;
    std::unique_ptr<MessageLink> link;
    std::unique_ptr<tcQTcpClient> tcp;

    std::atomic<int> closes{0};
    // False: meter frames are only copied, so nothing takes or acknowledges them.
    std::atomic<bool> linkTakesMeterData{true};

private:
    static void keepFrame(void *self, const uint8_t *frame, size_t length)
    {
        auto *c = static_cast<AppClient *>(self);
        c->m_received.emplace_back(frame, frame + length);
        if (c->linkTakesMeterData || length < 6 || frame[4] != MSG_METER_DATA)
            c->link->dispatch_frame(frame, length);
    }

    mutable std::recursive_mutex m_lock; // the link's handlers run under it
    FrameAssembler m_frames;             // under m_lock
    std::vector<Frame> m_received;
    std::vector<FwAckMsg> m_acks;
};

// A simulator in this process on a port the system picks.
inline std::unique_ptr<sim::SimServer> startSim(sim::SimOptions options = {})
{
    options.port = 0;
    if (options.flashSeconds == 5)
        options.flashSeconds = 0;
    // ORBA_SIM_TEST_LOG=1 shows what the simulator saw and said.
    const bool show = qEnvironmentVariableIntValue("ORBA_SIM_TEST_LOG") != 0;
    options.log = options.log || show;
    auto server = std::make_unique<sim::SimServer>(options);
    server->setOutput([show](const QString &line) {
        if (show)
            std::fprintf(stderr, "%s\n", qPrintable(line));
    });
    QString error;
    EXPECT_TRUE(server->start(&error)) << error.toStdString();
    return server;
}

// A simulator with one application logged in; the frames of the login are already cleared.
class SimOnline : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sim = startSim();
        ASSERT_TRUE(app.connectAndLogin(sim->port()));
        app.clearFrames();
    }

    std::unique_ptr<sim::SimServer> sim;
    AppClient app; // goes before the simulator
};

} // namespace orba::test
