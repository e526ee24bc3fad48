// A processor stand-in for link tests: a TCP listener on 127.0.0.1 (on a port the system picks)
// that accepts connections one after another on its own thread, keeps every byte it receives,
// cuts them into frames, and sends bytes back on request. Also finds free local ports.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace orba::test {

// A port on 127.0.0.1 that nothing listens on right now (bound to 0, read back, released).
uint16_t freeTcpPort();
uint16_t freeUdpPort();
// Sends one UDP datagram to 127.0.0.1:port, from 127.0.0.1 or from another loopback address (all
// of 127/8 is this machine's) when one is given; false when it could not be sent.
bool sendDatagram(uint16_t port, const uint8_t *bytes, size_t count, const char *from = nullptr);

using Frame = std::vector<uint8_t>;

class LoopbackPeer
{
public:
    enum Mode { Keep, CloseOnAccept };
    // port 0: any free one.
    explicit LoopbackPeer(Mode mode = Keep, uint16_t port = 0);
    ~LoopbackPeer();
    LoopbackPeer(const LoopbackPeer &) = delete;
    LoopbackPeer &operator=(const LoopbackPeer &) = delete;

    uint16_t port() const { return m_port; }
    int accepted() const { return m_accepted.load(); }
    bool connected() const;

    // Waits (with a deadline) for a condition on the peer's state.
    bool waitAccepted(int count, int timeoutMs = 5000);
    bool waitFrames(size_t count, int timeoutMs = 5000);
    bool waitBytes(size_t count, int timeoutMs = 5000);

    std::vector<Frame> frames() const;
    std::vector<Frame> framesOfType(uint8_t type) const;
    size_t byteCount() const;
    void clear();

    // Sends to the current connection (blocking until all is written); false when there is none.
    bool send(const uint8_t *bytes, size_t count);
    bool send(const Frame &bytes) { return send(bytes.data(), bytes.size()); }
    // Ends the current connection (the client sees the peer close).
    void closeConnection();
    // While paused the peer reads nothing, so the sender's buffers fill up.
    void setReading(bool reading);
    // Called on the peer's thread with each complete frame; may answer through send().
    void onFrame(std::function<void(const Frame &)> handler);

private:
    void run();
    bool waitFor(const std::function<bool()> &condition, int timeoutMs);
    void takeBytes(const uint8_t *bytes, size_t count);
    void dropConnection();

    Mode m_mode;
    int m_listen = -1;
    int m_wake[2] = {-1, -1};
    uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_reading{true};
    std::atomic<int> m_accepted{0};
    std::thread m_thread;

    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    int m_conn = -1;
    std::vector<uint8_t> m_bytes;
    std::vector<Frame> m_frames;
    std::vector<uint8_t> m_partial;
    std::function<void(const Frame &)> m_handler;
    std::mutex m_sendLock;
};

} // namespace orba::test
