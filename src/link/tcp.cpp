#include "link/tcp.h"

#include "link/frames.h"

#include <QHostAddress>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

using namespace orba;

namespace {

QTimer *singleShotTimer(QObject *parent)
{
    auto *timer = new QTimer(parent);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer); // the pacing between attempts is a promise
    return timer;
}

} // namespace

tcQTcp::tcQTcp(uint16_t port, const TcpCallbacks &callbacks) : m_port(port), m_callbacks(callbacks) {}

tcQTcp::~tcQTcp()
{
    stopWorker();
    report(LINK_GONE);
}

void tcQTcp::startWorker()
{
    m_worker.start(
        [this] {
            m_budget = singleShotTimer(anchor());
            QObject::connect(m_budget, &QTimer::timeout, anchor(), [this] { budgetSpent(); });
            {
                std::lock_guard<std::mutex> guard(m_mailLock);
                m_accepting = true;
            }
            setUp();
            post([this] { attempt(); });
        },
        [this] {
            tearDown();
            tearDownLink();
        });
}

void tcQTcp::stopWorker()
{
    m_worker.stop();
}

void tcQTcp::report(int status)
{
    if (m_callbacks.on_status)
        m_callbacks.on_status(m_callbacks.context, status);
}

int tcQTcp::msLeft(Clock::time_point started, int waitMs)
{
    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
    return std::max(0, waitMs - int(spent.count()));
}

void tcQTcp::discard(QTcpSocket *socket)
{
    socket->disconnect();
    socket->abort();
    socket->deleteLater();
}

// ---- The link, on the worker ----

void tcQTcp::takeLink(QTcpSocket *socket)
{
    m_socket = socket;
    // The system probes a quiet link, so a peer that vanished without a word is found even when
    // nobody sends. Small buffers: a peer that stops reading holds back little, and soon.
    socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, int(BUFFER_SIZE));
    socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, int(BUFFER_SIZE));
    const unsigned generation = ++m_generation;
    QObject::connect(socket, &QTcpSocket::readyRead, anchor(), [this] { readAvailable(); });
    QObject::connect(socket, &QTcpSocket::bytesWritten, anchor(), [this] { bytesGone(); });
    // Handled from the loop: Qt may still be inside the socket when it tells of the end.
    const auto lost = [this, generation] { post([this, generation] { linkLost(generation); }); };
    QObject::connect(socket, &QTcpSocket::disconnected, anchor(), lost);
    QObject::connect(socket, &QAbstractSocket::errorOccurred, anchor(), lost);
    m_connected.store(true);
    report(LINK_UP);
    // Bytes that came before the connections above were made.
    post([this, generation] {
        if (generation == m_generation.load())
            readAvailable();
    });
}

void tcQTcp::readAvailable()
{
    QTcpSocket *const socket = m_socket;
    while (socket && socket == m_socket) {
        const qint64 n = socket->read(reinterpret_cast<char *>(m_buffer), qint64(sizeof m_buffer));
        if (n <= 0)
            break;
        if (m_callbacks.on_data)
            m_callbacks.on_data(m_callbacks.context, m_buffer, size_t(n));
    }
}

void tcQTcp::linkLost(unsigned generation)
{
    if (generation != m_generation.load() || !m_socket)
        return;
    readAvailable(); // what the peer sent before it went
    if (generation == m_generation.load() && m_socket)
        endLink();
}

void tcQTcp::endLinkOf(unsigned generation)
{
    if (generation == m_generation.load())
        endLink();
}

void tcQTcp::closeLink()
{
    if (!m_socket)
        return;
    QTcpSocket *const socket = m_socket;
    m_socket = nullptr;
    m_connected.store(false);
    m_budget->stop();
    discard(socket);
    report(LINK_CLOSED);
    if (m_writingRequest) {
        m_writingRequest = false;
        finishRequest(-1);
    }
}

void tcQTcp::endLink()
{
    if (!m_socket)
        return;
    closeLink();
    linkEnded();
}

void tcQTcp::tearDownLink()
{
    {
        std::lock_guard<std::mutex> guard(m_mailLock);
        m_accepting = false;
    }
    finishRequest(-1);
    m_writingRequest = false;
    m_budget->stop();
    m_connected.store(false);
    if (m_socket) {
        m_socket->disconnect();
        m_socket->abort();
        delete m_socket;
        m_socket = nullptr;
    }
}

// ---- Ending the link from outside ----

void tcQTcp::close()
{
    if (m_worker.isCurrent()) {
        const unsigned generation = m_generation.load();
        post([this, generation] { endLinkOf(generation); });
        return;
    }
    m_worker.call([this] { endLink(); });
}

void tcQTcp::hangUp()
{
    const unsigned generation = m_generation.load();
    post([this, generation] { endLinkOf(generation); });
}

// ---- Sending ----

int tcQTcp::send(const void *bytes, size_t count)
{
    if (!m_connected.load())
        return -1;
    if (count == 0)
        return 0;
    if (m_worker.isCurrent())
        return sendHere(bytes, count);

    std::lock_guard<std::mutex> sendGuard(m_sendLock);
    const unsigned generation = m_generation.load();
    SendRequest request{static_cast<const uint8_t *>(bytes), count,
                        Clock::now() + std::chrono::milliseconds(m_sendBudgetMs.load())};
    {
        std::lock_guard<std::mutex> guard(m_mailLock);
        if (!m_accepting)
            return -1;
        m_request = &request;
    }
    if (!post([this] { takeRequest(); })) {
        std::lock_guard<std::mutex> guard(m_mailLock);
        m_request = nullptr;
        return -1;
    }
    std::unique_lock<std::mutex> guard(m_mailLock);
    if (!m_mailDone.wait_until(guard, request.deadline,
                               [&] { return request.state != SendRequest::Queued; })) {
        // The worker was too busy to even take the bytes: nothing went out, but as with any send
        // that did not finish, the peer's stream is only sure to be whole on a new link.
        m_request = nullptr;
        guard.unlock();
        post([this, generation] { endLinkOf(generation); });
        return 0;
    }
    m_mailDone.wait(guard, [&] { return request.state == SendRequest::Done; });
    return request.result;
}

// On the worker itself: waiting here would stop the very loop that moves the bytes, so they are
// queued and the budget is watched from the loop.
int tcQTcp::sendHere(const void *bytes, size_t count)
{
    if (!m_socket)
        return -1;
    if (m_socket->write(static_cast<const char *>(bytes), qint64(count)) != qint64(count)) {
        // Never from inside the callback that sent: the end is reported from the loop.
        const unsigned generation = m_generation.load();
        post([this, generation] { endLinkOf(generation); });
        return -1;
    }
    m_socket->flush();
    if (m_socket && m_socket->bytesToWrite() > 0)
        watchBudget(Clock::now() + std::chrono::milliseconds(m_sendBudgetMs.load()));
    return int(count);
}

void tcQTcp::takeRequest()
{
    const uint8_t *bytes;
    size_t count;
    Clock::time_point deadline;
    {
        std::lock_guard<std::mutex> guard(m_mailLock);
        if (!m_request || m_request->state != SendRequest::Queued)
            return;
        m_request->state = SendRequest::Writing;
        bytes = m_request->bytes;
        count = m_request->count;
        deadline = m_request->deadline;
    }
    if (!m_socket) {
        finishRequest(-1);
        return;
    }
    if (m_socket->write(reinterpret_cast<const char *>(bytes), qint64(count)) != qint64(count)) {
        endLink();
        finishRequest(-1);
        return;
    }
    m_writingRequest = true;
    m_writingCount = count;
    m_socket->flush(); // may finish the request through bytesWritten
    if (!m_writingRequest)
        return;
    if (m_socket && m_socket->bytesToWrite() == 0) {
        m_writingRequest = false;
        finishRequest(int(count));
        return;
    }
    watchBudget(deadline);
}

void tcQTcp::finishRequest(int result)
{
    {
        std::lock_guard<std::mutex> guard(m_mailLock);
        if (!m_request)
            return;
        m_request->result = result;
        m_request->state = SendRequest::Done;
        m_request = nullptr;
    }
    m_mailDone.notify_all();
}

void tcQTcp::watchBudget(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    const int ms = std::max(0, int(left.count()));
    if (!m_budget->isActive() || m_budget->remainingTime() > ms)
        m_budget->start(ms);
}

void tcQTcp::bytesGone()
{
    if (!m_socket || m_socket->bytesToWrite() > 0)
        return;
    m_budget->stop();
    if (m_writingRequest) {
        m_writingRequest = false;
        finishRequest(int(m_writingCount));
    }
}

// The peer has not taken the bytes in time: what is left of a frame must never be followed by the
// next frame on the same link.
void tcQTcp::budgetSpent()
{
    if (!m_socket || m_socket->bytesToWrite() == 0)
        return;
    const bool request = m_writingRequest;
    const size_t left = std::min(m_writingCount, size_t(m_socket->bytesToWrite()));
    m_writingRequest = false;
    endLink(); // before the sender hears of it: once send() returns, the link is closed
    if (request)
        finishRequest(int(m_writingCount - left));
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

void tcQTcpClient::setUp()
{
    m_timer = singleShotTimer(anchor());
    QObject::connect(m_timer, &QTimer::timeout, anchor(), [this] { timerEnded(); });
    m_retry = singleShotTimer(anchor());
    QObject::connect(m_retry, &QTimer::timeout, anchor(), [this] {
        if (m_inWindow && !m_connecting)
            connectOnce();
    });
}

void tcQTcpClient::tearDown()
{
    m_timer->stop();
    m_retry->stop();
    if (m_connecting) {
        m_connecting->disconnect();
        delete m_connecting;
        m_connecting = nullptr;
    }
}

// One attempt is a window of the connect wait: reported as connecting from its start until the
// link is up or the window ends.
void tcQTcpClient::attempt()
{
    report(LINK_CONNECTING);
    m_started = Clock::now();
    m_inWindow = true;
    m_timer->start(m_connectWaitMs);
    if (m_addressValid)
        connectOnce();
}

void tcQTcpClient::connectOnce()
{
    const unsigned attempt = ++m_attempt;
    m_connecting = new QTcpSocket(anchor());
    m_connecting->setProxy(QNetworkProxy::NoProxy);
    QObject::connect(m_connecting, &QTcpSocket::connected, anchor(), [this, attempt] { connected(attempt); });
    QObject::connect(m_connecting, &QAbstractSocket::errorOccurred, anchor(),
                     [this, attempt] { post([this, attempt] { attemptFailed(attempt); }); });
    const quint32 address =
        quint32(m_address[0]) << 24 | quint32(m_address[1]) << 16 | quint32(m_address[2]) << 8 | m_address[3];
    m_connecting->connectToHost(QHostAddress(address), port());
}

void tcQTcpClient::connected(unsigned attempt)
{
    if (attempt != m_attempt || !m_connecting)
        return;
    QTcpSocket *const socket = m_connecting;
    m_connecting = nullptr;
    m_inWindow = false;
    m_timer->stop();
    m_retry->stop();
    QObject::disconnect(socket, nullptr, anchor(), nullptr);
    takeLink(socket);
}

void tcQTcpClient::attemptFailed(unsigned attempt)
{
    if (attempt != m_attempt || !m_connecting)
        return;
    discard(m_connecting);
    m_connecting = nullptr;
    // A refusal comes at once, as from a processor still starting: asked again within the window,
    // and the window's end is the attempt's end.
    const int retryMs = std::max(m_connectWaitMs / 10, 20);
    if (msLeft(m_started, m_connectWaitMs) > retryMs)
        m_retry->start(retryMs);
}

void tcQTcpClient::endWindow()
{
    m_inWindow = false;
    m_retry->stop();
    if (m_connecting) {
        discard(m_connecting);
        m_connecting = nullptr;
    }
    report(LINK_CLOSED);
    // The pause before the next window, so an unreachable processor shows as off line half the time.
    m_timer->start(m_connectWaitMs);
}

void tcQTcpClient::timerEnded()
{
    if (m_inWindow)
        endWindow();
    else if (!linkUp())
        attempt();
}

// A peer that accepts and drops at once would otherwise be connected to hundreds of times a
// second. The pause comes before the attempt's report, as after a refusal.
void tcQTcpClient::linkEnded()
{
    m_timer->start(m_connectWaitMs);
}

// ---- Server ----

tcQTcpServer::tcQTcpServer(uint16_t port, const TcpCallbacks &callbacks, int acceptWaitMs)
    : tcQTcpServer(port, callbacks, Options{false, false, acceptWaitMs})
{
}

tcQTcpServer::tcQTcpServer(uint16_t port, const TcpCallbacks &callbacks, const Options &options)
    : tcQTcp(port, callbacks), m_options(options)
{
    startWorker();
}

tcQTcpServer::~tcQTcpServer()
{
    stopWorker();
}

void tcQTcpServer::setUp()
{
    m_timer = singleShotTimer(anchor());
    QObject::connect(m_timer, &QTimer::timeout, anchor(), [this] { timerEnded(); });
    if (m_options.replaceOnConnect)
        listen(); // bound before the constructor returns
}

void tcQTcpServer::tearDown()
{
    m_timer->stop();
    closeListener();
}

bool tcQTcpServer::listen()
{
    auto *listener = new QTcpServer(anchor());
    listener->setProxy(QNetworkProxy::NoProxy);
    const QHostAddress at(m_options.loopbackOnly ? QHostAddress::LocalHost : QHostAddress::AnyIPv4);
    if (!listener->listen(at, port())) {
        delete listener;
        return false;
    }
    m_listener = listener;
    m_boundPort.store(listener->serverPort());
    QObject::connect(listener, &QTcpServer::newConnection, anchor(), [this] { accept(); });
    return true;
}

void tcQTcpServer::closeListener()
{
    if (!m_listener)
        return;
    m_listener->disconnect();
    m_listener->close();
    m_listener->deleteLater(); // maybe inside its own signal
    m_listener = nullptr;
}

void tcQTcpServer::attempt()
{
    report(LINK_CONNECTING);
    m_started = Clock::now();
    m_waiting = false;
    if (!m_listener && !listen()) {
        // A port held by someone else would otherwise be retried a thousand times a second.
        m_timer->start(msLeft(m_started, BIND_RETRY_MS));
        return;
    }
    m_waiting = true;
    m_timer->start(m_options.acceptWaitMs);
    if (m_listener->hasPendingConnections())
        accept();
}

void tcQTcpServer::accept()
{
    while (m_listener && m_listener->hasPendingConnections()) {
        QTcpSocket *const socket = m_listener->nextPendingConnection();
        if (!socket)
            break;
        socket->setParent(anchor()); // outlives the listener
        if (!m_options.replaceOnConnect && linkUp()) {
            discard(socket);
            continue;
        }
        m_timer->stop();
        m_waiting = false;
        if (!m_options.replaceOnConnect) {
            // Without a listener while connected, as before every new attempt.
            closeListener();
            report(LINK_CLOSED);
        }
        closeLink(); // the previous peer
        takeLink(socket);
    }
}

void tcQTcpServer::timerEnded()
{
    if (m_waiting && !m_options.replaceOnConnect) {
        closeListener();
        report(LINK_CLOSED);
    }
    attempt();
}

void tcQTcpServer::linkEnded()
{
    attempt();
}
