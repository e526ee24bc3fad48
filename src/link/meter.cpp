#include "link/meter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace orba;

namespace {

void closeOnExec(int fd)
{
    ::fcntl(fd, F_SETFD, ::fcntl(fd, F_GETFD) | FD_CLOEXEC);
}

} // namespace

METERIFACE::METERIFACE(void *context, Notify notify, uint16_t firstPort)
    : m_context(context), m_notify(notify), m_port(firstPort)
{
    bind();
    if (m_socket < 0)
        return; // meters can still come over the control link
    if (::pipe(m_wake) != 0) {
        ::close(m_socket);
        m_socket = -1;
        return;
    }
    closeOnExec(m_wake[0]);
    closeOnExec(m_wake[1]);
    m_hasSocket.store(true);
    m_thread = std::thread([this] { receive(); });
}

METERIFACE::~METERIFACE()
{
    close();
}

void METERIFACE::bind()
{
    uint16_t port = m_port.load();
    for (int attempt = 0; attempt < METER_PORT_TRIES; ++attempt) {
        const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        if (fd < 0)
            break;
        closeOnExec(fd);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_ANY);
        local.sin_port = htons(port);
        // Without SO_REUSEADDR: a second receiver on this machine must move on to the next port
        // rather than take this one's datagrams.
        if (::bind(fd, reinterpret_cast<const sockaddr *>(&local), sizeof local) == 0) {
            m_socket = fd;
            break;
        }
        ::close(fd);
        if (port == 65535)
            break;
        ++port;
    }
    m_port.store(port);
}

void METERIFACE::receive()
{
    pollfd waits[2] = {{m_socket, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
    while (!m_stop.load()) {
        if (::poll(waits, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (waits[1].revents != 0)
            break;
        if (waits[0].revents & (POLLERR | POLLNVAL))
            break;
        if (waits[0].revents & POLLIN)
            readDatagram();
    }
}

void METERIFACE::readDatagram()
{
    // One per wake: the next wait returns at once while more are queued, and a lone datagram
    // costs no second call to learn that nothing follows.
    sockaddr_in from{};
    socklen_t fromSize = sizeof from;
    ssize_t n;
    do {
        n = ::recvfrom(m_socket, m_receive, sizeof m_receive, MSG_DONTWAIT, reinterpret_cast<sockaddr *>(&from),
                       &fromSize);
    } while (n < 0 && errno == EINTR);
    if (n < 0)
        return; // gone already, or an ICMP error the next datagram does not care about
    const uint32_t peer = m_peer.load();
    const bool fromPeer = peer != 0 && from.sin_family == AF_INET && from.sin_addr.s_addr == peer;
    // A datagram longer than a meter datagram fills the spare byte and is dropped.
    if (!m_stop.load() && fromPeer && size_t(n) == METER_SIZE)
        check_datagram(m_receive, size_t(n));
}

void METERIFACE::setPeer(const uint8_t address[4])
{
    uint32_t peer = 0;
    std::memcpy(&peer, address, 4);
    m_peer.store(peer);
}

bool METERIFACE::check_datagram(const uint8_t *bytes, size_t size)
{
    if (checkMeterDatagram(bytes, size, m_counter.load()) != MeterCheck::Accepted)
        return false;
    ++m_accepted;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        std::memcpy(m_newest, bytes, METER_SIZE);
        m_newData = true;
    }
    if (m_notify)
        m_notify(m_context);
    return true;
}

int METERIFACE::fetch(uint8_t *destination)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_newData)
        return -1;
    std::memcpy(destination, m_newest, METER_SIZE);
    m_newData = false;
    return 0;
}

void METERIFACE::close()
{
    m_stop.store(true);
    if (m_thread.joinable()) {
        const char stop = 1;
        while (::write(m_wake[1], &stop, 1) < 0 && errno == EINTR) {
        }
        m_thread.join();
        if (!m_quiet) {
            std::printf("Sleeping in METERIFACE::close()  X\n");
            std::fflush(stdout);
        }
    }
    for (int *fd : {&m_socket, &m_wake[0], &m_wake[1]}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    m_hasSocket.store(false);
}
