#include "link/meter.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

using namespace orba;

void tcMeterThrd::run()
{
    m_meters->receiveLoop();
}

METERIFACE::METERIFACE(void *context, Notify notify, uint16_t firstPort)
    : m_context(context), m_notify(notify), m_port(firstPort)
{
    for (int attempt = 0; attempt < METER_PORT_TRIES; ++attempt) {
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            break;
        sockaddr_in any{};
        any.sin_family = AF_INET;
        any.sin_port = htons(m_port);
        any.sin_addr.s_addr = htonl(INADDR_ANY);
        if (::bind(fd, reinterpret_cast<const sockaddr *>(&any), sizeof any) == 0) {
            m_socket = fd;
            break;
        }
        ::close(fd);
        if (m_port == 65535)
            break;
        ++m_port;
    }
    if (m_socket < 0)
        return; // meters can still come over the control link
    m_thread = std::make_unique<tcMeterThrd>(this);
    m_thread->start(WorkerThread::HighPriority);
}

METERIFACE::~METERIFACE()
{
    close();
}

void METERIFACE::receiveLoop()
{
    while (!m_stop.load()) {
        if (waitFor(m_socket, POLLIN, READ_WAIT_MS, m_wake) != WaitResult::Ready)
            continue;
        // MSG_TRUNC gives the datagram's real size, so a longer one is not mistaken for 604 bytes.
        sockaddr_in from{};
        socklen_t fromSize = sizeof from;
        const ssize_t n = ::recvfrom(m_socket, m_receive, sizeof m_receive, MSG_TRUNC | MSG_DONTWAIT,
                                     reinterpret_cast<sockaddr *>(&from), &fromSize);
        const uint32_t peer = m_peer.load();
        const bool fromPeer = peer != 0 && fromSize >= sizeof from && from.sin_family == AF_INET &&
                              from.sin_addr.s_addr == peer;
        if (!m_stop.load() && fromPeer && n == ssize_t(METER_SIZE))
            check_datagram(m_receive, size_t(n));
    }
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
    m_wake.wake();
    if (m_thread) {
        for (;;) {
            const bool running = m_thread->isRunning();
            std::printf("Sleeping in METERIFACE::close()  %c\n", running ? 'R' : 'X');
            if (!running)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::fflush(stdout);
        m_thread->wait();
        m_thread.reset();
    }
    if (m_socket >= 0) {
        ::close(m_socket);
        m_socket = -1;
    }
}
