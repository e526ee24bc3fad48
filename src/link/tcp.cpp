#include "link/tcp.h"

#include "link/frames.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

using namespace orba;
using Clock = std::chrono::steady_clock;

namespace {

void setOption(int fd, int level, int name, const void *value, socklen_t size)
{
    // A refused option leaves the socket usable with the system's default.
    [[maybe_unused]] const int r = ::setsockopt(fd, level, name, value, size);
}

void setReuseAndAbortiveClose(int fd)
{
    const int on = 1;
    setOption(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const linger abortive = {1, 0};
    setOption(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
}

// The system probes a quiet link, so a peer that vanished without a word is found even when
// nobody sends.
void setKeepAlive(int fd)
{
    const int on = 1;
    setOption(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
#ifdef TCP_KEEPIDLE
    const int idleSeconds = 15, intervalSeconds = 5, probes = 3;
    setOption(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idleSeconds, sizeof idleSeconds);
    setOption(fd, IPPROTO_TCP, TCP_KEEPINTVL, &intervalSeconds, sizeof intervalSeconds);
    setOption(fd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
#endif
}

void setNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL, 0);
    ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

void shutAndClose(int fd)
{
    ::shutdown(fd, SHUT_RDWR);
    ::close(fd);
}

bool wouldBlock(int err)
{
    return err == EAGAIN || err == EWOULDBLOCK || err == EINTR;
}

} // namespace

void tcQTcpThrd::run()
{
    while (!m_tcp->stopping())
        m_tcp->pump();
}

tcQTcp::tcQTcp(uint16_t port, const TcpCallbacks &callbacks) : m_port(port), m_callbacks(callbacks) {}

tcQTcp::~tcQTcp()
{
    stopWorker();
    report(LINK_GONE);
}

void tcQTcp::startWorker()
{
    m_thread = std::make_unique<tcQTcpThrd>(this);
    m_thread->start(WorkerThread::HighestPriority);
}

void tcQTcp::stopWorker()
{
    if (!m_thread)
        return;
    m_stop.store(true);
    m_wake.wake();
    closeSilently();
    m_thread->wait();
    m_thread.reset();
}

void tcQTcp::report(int status)
{
    if (m_callbacks.on_status)
        m_callbacks.on_status(m_callbacks.context, status);
}

void tcQTcp::setDataSocket(int fd)
{
    std::lock_guard<std::mutex> guard(m_ioLock);
    m_socket = fd;
}

int tcQTcp::takeDataSocket()
{
    std::lock_guard<std::mutex> guard(m_ioLock);
    const int fd = m_socket;
    m_socket = -1;
    return fd;
}

void tcQTcp::configureDataSocket(int fd)
{
    setReuseAndAbortiveClose(fd);
    const int size = int(BUFFER_SIZE);
    setOption(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    setOption(fd, SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
    setKeepAlive(fd);
    setNonBlocking(fd);
}

void tcQTcp::pauseRest(Clock::time_point started, int waitMs)
{
    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
    sleepUnlessWoken(waitMs - int(spent.count()), m_wake);
}

int tcQTcp::beginAttempt(Clock::time_point &started, int retryMs)
{
    if (m_connected.load())
        close();
    report(LINK_CONNECTING);
    started = Clock::now();
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        std::fprintf(stderr, "socket call failed: %s\n", std::strerror(errno));
        pauseRest(started, retryMs);
    }
    return fd;
}

void tcQTcp::close()
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_connected.store(false);
    const int fd = takeDataSocket();
    if (fd < 0)
        return;
    shutAndClose(fd);
    report(LINK_CLOSED);
}

void tcQTcp::hangUp()
{
    // Only a shutdown here: the worker may be waiting on the socket, and it is the one to close it.
    std::lock_guard<std::mutex> io(m_ioLock);
    if (m_socket >= 0)
        ::shutdown(m_socket, SHUT_RDWR);
}

void tcQTcp::closeSilently()
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_connected.store(false);
    const int fd = takeDataSocket();
    if (fd >= 0)
        shutAndClose(fd);
}

int tcQTcp::send(const void *bytes, size_t count)
{
    if (!m_connected.load())
        return -1;
    if (count == 0)
        return 0;
    std::lock_guard<std::mutex> sendGuard(m_sendLock);
    const auto *p = static_cast<const uint8_t *>(bytes);
    const auto deadline = Clock::now() + std::chrono::milliseconds(m_sendBudgetMs.load());
    size_t offset = 0;
    while (offset < count) {
        int fd;
        ssize_t n;
        int err = 0;
        {
            std::lock_guard<std::mutex> io(m_ioLock);
            fd = m_socket;
            n = fd < 0 ? -1 : ::send(fd, p + offset, count - offset, MSG_NOSIGNAL | MSG_DONTWAIT);
            err = fd < 0 ? EBADF : errno;
        }
        if (n > 0) {
            offset += size_t(n);
            continue;
        }
        if (n < 0 && !wouldBlock(err)) {
            close();
            return -1;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            break;
        // Rather than spin, sleep until the socket takes bytes again or the budget is spent.
        if (waitFor(fd, POLLOUT, int(left.count()), m_wake) == WaitResult::Woken)
            break;
    }
    // Nothing sent, or a frame cut short: either way the peer's stream is only whole again on a
    // new connection.
    if (offset < count)
        close();
    return int(offset);
}

int tcQTcp::receive(uint8_t *buffer, size_t capacity)
{
    if (!m_connected.load())
        return -1;
    ssize_t n;
    int err;
    {
        std::lock_guard<std::mutex> io(m_ioLock);
        n = m_socket < 0 ? -1 : ::recv(m_socket, buffer, capacity, MSG_DONTWAIT);
        err = m_socket < 0 ? EBADF : errno;
    }
    if (n > 0)
        return int(n);
    if (n < 0 && wouldBlock(err))
        return 0;
    close();
    return -1;
}

void tcQTcp::setWorkerPriority(bool highest)
{
    if (m_workerHighest == highest)
        return;
    m_workerHighest = highest;
    WorkerThread::setCurrentPriority(highest ? WorkerThread::HighestPriority : WorkerThread::LowPriority);
}

bool tcQTcp::waitForData(int fd)
{
    return waitFor(fd, POLLIN, CONNECT_WAIT_MS, m_wake) == WaitResult::Ready;
}

void tcQTcp::pump()
{
    if (m_connected.load()) {
        setWorkerPriority(true);
        int fd;
        {
            std::lock_guard<std::mutex> io(m_ioLock);
            fd = m_socket;
        }
        if (fd < 0) // closed by a sender a moment ago; the next step reconnects
            return;
        if (!waitForData(fd))
            return;
        const int n = receive(m_buffer, sizeof m_buffer);
        if (n > 0 && m_callbacks.on_data)
            m_callbacks.on_data(m_callbacks.context, m_buffer, size_t(n));
        return;
    }
    setWorkerPriority(false);
    sleepUnlessWoken(1, m_wake);
    if (m_stop.load()) {
        setWorkerPriority(true);
        return;
    }
    if (open())
        report(LINK_UP);
}

// ---- Client ----

tcQTcpClient::tcQTcpClient(const char *address, uint16_t port, const TcpCallbacks &callbacks,
                           int connectWaitMs)
    : tcQTcp(port, callbacks), m_connectWaitMs(connectWaitMs)
{
    m_addressValid =
        parseIPv4(address, m_address) && (m_address[0] | m_address[1] | m_address[2] | m_address[3]) != 0;
    startWorker();
}

tcQTcpClient::~tcQTcpClient()
{
    stopWorker();
}

bool tcQTcpClient::open()
{
    // A peer that accepts and drops at once would otherwise be connected to hundreds of times a
    // second. The pause comes before the attempt's report, as after a refusal.
    if (m_hadLink) {
        m_hadLink = false;
        if (!sleepUnlessWoken(m_connectWaitMs, m_wake))
            return false;
    }
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    Clock::time_point started;
    const int fd = beginAttempt(started, m_connectWaitMs);
    if (fd < 0)
        return false;
    configureDataSocket(fd);
    setDataSocket(fd);

    bool failed = !m_addressValid;
    if (!failed) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port());
        std::memcpy(&to.sin_addr, m_address, 4);
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&to), sizeof to) != 0 && errno != EINPROGRESS &&
            errno != EINTR)
            failed = true;
    }
    if (!failed) {
        const WaitResult w = waitFor(fd, POLLOUT, m_connectWaitMs, m_wake);
        if (w == WaitResult::Woken) {
            closeSilently();
            return false;
        }
        int err = 0;
        socklen_t size = sizeof err;
        // Writable with a pending error is a refused or failed connect, not a success.
        if (w != WaitResult::Ready || ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &size) != 0 || err != 0)
            failed = true;
    }
    if (failed) {
        close();
        pauseRest(started, m_connectWaitMs);
        return false;
    }
    if (m_stop.load()) {
        closeSilently();
        return false;
    }
    m_connected.store(true);
    m_hadLink = true;
    return true;
}

// ---- Server ----

tcQTcpServer::tcQTcpServer(uint16_t port, const TcpCallbacks &callbacks, int acceptWaitMs)
    : tcQTcpServer(port, callbacks, Options{false, false, acceptWaitMs})
{
}

tcQTcpServer::tcQTcpServer(uint16_t port, const TcpCallbacks &callbacks, const Options &options)
    : tcQTcp(port, callbacks), m_options(options)
{
    if (m_options.replaceOnConnect)
        bindListener();
    startWorker();
}

tcQTcpServer::~tcQTcpServer()
{
    stopWorker();
}

void tcQTcpServer::closeSilently()
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    int listening;
    {
        std::lock_guard<std::mutex> io(m_ioLock);
        listening = m_listen;
        m_listen = -1;
    }
    if (listening >= 0)
        shutAndClose(listening);
    tcQTcp::closeSilently();
}

int tcQTcpServer::listener()
{
    std::lock_guard<std::mutex> io(m_ioLock);
    return m_listen;
}

bool tcQTcpServer::listenOn(int fd)
{
    setReuseAndAbortiveClose(fd);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(port());
    at.sin_addr.s_addr = htonl(m_options.loopbackOnly ? INADDR_LOOPBACK : INADDR_ANY);
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&at), sizeof at) != 0 || ::listen(fd, 2) != 0)
        return false;
    sockaddr_in bound{};
    socklen_t size = sizeof bound;
    if (::getsockname(fd, reinterpret_cast<sockaddr *>(&bound), &size) == 0)
        m_boundPort.store(ntohs(bound.sin_port));
    {
        std::lock_guard<std::mutex> io(m_ioLock);
        m_listen = fd;
    }
    setNonBlocking(fd);
    return true;
}

int tcQTcpServer::bindListener()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && !listenOn(fd)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool tcQTcpServer::open()
{
    if (m_options.replaceOnConnect)
        return openKeepingListener();
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    Clock::time_point started;
    const int listening = beginAttempt(started, BIND_RETRY_MS);
    if (listening < 0)
        return false;
    if (!listenOn(listening)) {
        ::close(listening);
        // A port held by someone else would otherwise be retried a thousand times a second.
        pauseRest(started, BIND_RETRY_MS);
        return false;
    }

    bool accepted = false;
    const WaitResult w = waitFor(listening, POLLIN, m_options.acceptWaitMs, m_wake);
    if (w == WaitResult::Ready) {
        const int fd = ::accept4(listening, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) {
            configureDataSocket(fd);
            setDataSocket(fd);
            accepted = true;
        }
    }
    if (w == WaitResult::Woken || m_stop.load()) {
        closeSilently();
        return false;
    }
    {
        std::lock_guard<std::mutex> io(m_ioLock);
        m_listen = -1;
    }
    shutAndClose(listening);
    report(LINK_CLOSED);
    if (accepted)
        m_connected.store(true);
    return accepted;
}

// The listening socket stays; the lock is held only around changes of the data socket, so a close()
// from another thread never waits for a peer to turn up.
bool tcQTcpServer::openKeepingListener()
{
    Clock::time_point started;
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        if (m_connected.load())
            close();
        report(LINK_CONNECTING);
        started = Clock::now();
    }
    int listening = listener();
    if (listening < 0 && (listening = bindListener()) < 0) {
        pauseRest(started, BIND_RETRY_MS);
        return false;
    }
    if (waitFor(listening, POLLIN, m_options.acceptWaitMs, m_wake) != WaitResult::Ready || m_stop.load())
        return false;
    const int fd = ::accept4(listening, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return false;
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (m_stop.load()) {
        ::close(fd);
        return false;
    }
    configureDataSocket(fd);
    setDataSocket(fd);
    m_connected.store(true);
    return true;
}

bool tcQTcpServer::waitForData(int fd)
{
    const int listening = m_options.replaceOnConnect ? listener() : -1;
    if (listening < 0)
        return tcQTcp::waitForData(fd);
    int which = 0;
    if (waitForEither(fd, listening, POLLIN, CONNECT_WAIT_MS, m_wake, which) != WaitResult::Ready)
        return false;
    if (which == 0)
        return true;
    replacePeer(listening);
    return false;
}

void tcQTcpServer::replacePeer(int listening)
{
    const int fd = ::accept4(listening, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (m_stop.load()) {
        ::close(fd);
        return;
    }
    close(); // the previous peer
    configureDataSocket(fd);
    setDataSocket(fd);
    m_connected.store(true);
    report(LINK_UP);
}
