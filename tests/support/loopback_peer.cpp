#include "loopback_peer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace orba::test {

namespace {

uint16_t freePort(int type)
{
    const int fd = ::socket(AF_INET, type, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    uint16_t port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0) {
        socklen_t size = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&a), &size);
        port = ntohs(a.sin_port);
    }
    ::close(fd);
    return port;
}

} // namespace

uint16_t freeTcpPort()
{
    return freePort(SOCK_STREAM);
}

uint16_t freeUdpPort()
{
    return freePort(SOCK_DGRAM);
}

bool sendDatagram(uint16_t port, const uint8_t *bytes, size_t count, const char *from)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    bool ok = true;
    if (from) {
        sockaddr_in at{};
        at.sin_family = AF_INET;
        ok = ::inet_pton(AF_INET, from, &at.sin_addr) == 1 &&
             ::bind(fd, reinterpret_cast<sockaddr *>(&at), sizeof at) == 0;
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ok = ok && ::sendto(fd, bytes, count, 0, reinterpret_cast<sockaddr *>(&to), sizeof to) == ssize_t(count);
    ::close(fd);
    return ok;
}

LoopbackPeer::LoopbackPeer(Mode mode, uint16_t port) : m_mode(mode)
{
    m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(m_listen, reinterpret_cast<sockaddr *>(&a), sizeof a);
    ::listen(m_listen, 4);
    socklen_t size = sizeof a;
    ::getsockname(m_listen, reinterpret_cast<sockaddr *>(&a), &size);
    m_port = ntohs(a.sin_port);
    [[maybe_unused]] int r = ::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK);
    m_thread = std::thread([this] { run(); });
}

LoopbackPeer::~LoopbackPeer()
{
    m_stop = true;
    const char b = 1;
    [[maybe_unused]] ssize_t n = ::write(m_wake[1], &b, 1);
    m_thread.join();
    dropConnection();
    ::close(m_listen);
    ::close(m_wake[0]);
    ::close(m_wake[1]);
}

bool LoopbackPeer::connected() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_conn >= 0;
}

void LoopbackPeer::run()
{
    uint8_t buffer[16384];
    while (!m_stop) {
        int conn;
        {
            std::lock_guard<std::mutex> g(m_lock);
            conn = m_conn;
        }
        pollfd fds[2] = {{conn >= 0 ? conn : m_listen, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (conn >= 0 && !m_reading)
            fds[0].events = 0;
        if (::poll(fds, 2, 20) <= 0 || fds[1].revents)
            continue;
        if (conn < 0) {
            const int fd = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            if (m_mode == CloseOnAccept)
                ::close(fd);
            {
                std::lock_guard<std::mutex> g(m_lock);
                ++m_accepted;
                if (m_mode == Keep)
                    m_conn = fd;
            }
            m_changed.notify_all();
            continue;
        }
        const bool hangUp = fds[0].revents & (POLLHUP | POLLERR);
        if (!hangUp && (!m_reading || !(fds[0].revents & POLLIN)))
            continue;
        const ssize_t n = ::recv(conn, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
            dropConnection();
            continue;
        }
        if (n < 0)
            continue;
        takeBytes(buffer, size_t(n));
    }
}

void LoopbackPeer::takeBytes(const uint8_t *bytes, size_t count)
{
    std::vector<Frame> complete;
    std::function<void(const Frame &)> handler;
    {
        std::lock_guard<std::mutex> g(m_lock);
        m_bytes.insert(m_bytes.end(), bytes, bytes + count);
        m_partial.insert(m_partial.end(), bytes, bytes + count);
        // What the application sends is always well formed: sync, length, body.
        while (m_partial.size() >= 4) {
            const size_t length = size_t(m_partial[2] | (m_partial[3] << 8));
            if (m_partial[0] != 0xA5 || m_partial[1] != 0xA5 || length < 5) {
                m_partial.erase(m_partial.begin());
                continue;
            }
            if (m_partial.size() < length)
                break;
            complete.emplace_back(m_partial.begin(), m_partial.begin() + long(length));
            m_partial.erase(m_partial.begin(), m_partial.begin() + long(length));
        }
        m_frames.insert(m_frames.end(), complete.begin(), complete.end());
        handler = m_handler;
    }
    m_changed.notify_all();
    if (handler)
        for (const Frame &f : complete)
            handler(f);
}

bool LoopbackPeer::waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    std::unique_lock<std::mutex> g(m_lock);
    return m_changed.wait_for(g, std::chrono::milliseconds(timeoutMs), condition);
}

bool LoopbackPeer::waitAccepted(int count, int timeoutMs)
{
    return waitFor([&] { return m_accepted.load() >= count; }, timeoutMs);
}

bool LoopbackPeer::waitFrames(size_t count, int timeoutMs)
{
    return waitFor([&] { return m_frames.size() >= count; }, timeoutMs);
}

bool LoopbackPeer::waitBytes(size_t count, int timeoutMs)
{
    return waitFor([&] { return m_bytes.size() >= count; }, timeoutMs);
}

std::vector<Frame> LoopbackPeer::frames() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_frames;
}

std::vector<Frame> LoopbackPeer::framesOfType(uint8_t type) const
{
    std::vector<Frame> out;
    for (const Frame &f : frames())
        if (f.size() >= 5 && f[4] == type)
            out.push_back(f);
    return out;
}

size_t LoopbackPeer::byteCount() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_bytes.size();
}

void LoopbackPeer::clear()
{
    std::lock_guard<std::mutex> g(m_lock);
    m_bytes.clear();
    m_frames.clear();
}

bool LoopbackPeer::send(const uint8_t *bytes, size_t count)
{
    std::lock_guard<std::mutex> s(m_sendLock);
    int conn;
    {
        std::lock_guard<std::mutex> g(m_lock);
        conn = m_conn;
    }
    if (conn < 0)
        return false;
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::send(conn, bytes + done, count - done, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

void LoopbackPeer::closeConnection()
{
    // Only the peer's thread closes the handle, so it never reads from a handle number reused
    // meanwhile; the shutdown makes it see the end at once.
    std::lock_guard<std::mutex> g(m_lock);
    if (m_conn >= 0)
        ::shutdown(m_conn, SHUT_RDWR);
}

void LoopbackPeer::dropConnection()
{
    std::lock_guard<std::mutex> s(m_sendLock);
    int conn;
    {
        std::lock_guard<std::mutex> g(m_lock);
        conn = m_conn;
        m_conn = -1;
        m_partial.clear();
    }
    if (conn >= 0)
        ::close(conn);
    m_changed.notify_all();
}

void LoopbackPeer::setReading(bool reading)
{
    m_reading = reading;
}

void LoopbackPeer::onFrame(std::function<void(const Frame &)> handler)
{
    std::lock_guard<std::mutex> g(m_lock);
    m_handler = std::move(handler);
}

} // namespace orba::test
