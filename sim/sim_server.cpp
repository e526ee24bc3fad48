#include "sim/sim_server.h"

#include "sim/sim_state.h"

#include <QSocketNotifier>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>

namespace orba::sim {

namespace {

int udpSocket()
{
    return ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

sockaddr_in loopback(uint16_t port)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return to;
}

void sendLoopback(int fd, uint16_t port, const uint8_t *bytes, size_t size)
{
    if (fd < 0)
        return;
    const sockaddr_in to = loopback(port);
    // A lost datagram is as good as a late one.
    [[maybe_unused]] const ssize_t n =
        ::sendto(fd, bytes, size, MSG_DONTWAIT, reinterpret_cast<const sockaddr *>(&to), sizeof to);
}

} // namespace

SimServer::SimServer(const SimOptions &options, QObject *parent)
    : QObject(parent), m_options(options), m_processor(this)
{
    m_meterTimer.setInterval(1000 / std::clamp(m_options.meterRate, 1, 1000));
    m_meterTimer.setTimerType(Qt::PreciseTimer);
    m_flashTimer.setInterval(std::max(0, m_options.flashSeconds) * 1000 / FirmwareReceiver::FLASH_STEPS);
    m_clockTimer.setInterval(1000);
    m_keepAlive.setSingleShot(true);
    m_keepAlive.setInterval(std::max(1, m_options.keepAliveMs));
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(1000);
    m_bootTimer.setInterval(1000);
    m_stallTimer.setSingleShot(true);
    m_stallTimer.setInterval(std::max(0, m_options.stallAfterLoginMs));
    connect(&m_meterTimer, &QTimer::timeout, this, &SimServer::meterTick);
    connect(&m_flashTimer, &QTimer::timeout, this, &SimServer::flashTick);
    connect(&m_clockTimer, &QTimer::timeout, this, &SimServer::clockTick);
    connect(&m_keepAlive, &QTimer::timeout, this, &SimServer::keepAliveExpired);
    connect(&m_saveTimer, &QTimer::timeout, this, [this] { saveNow(); });
    connect(&m_bootTimer, &QTimer::timeout, this, &SimServer::bootTick);
    connect(&m_stallTimer, &QTimer::timeout, this, &SimServer::stall);
    connect(this, &SimServer::sig_link_input, this, &SimServer::takeInput, Qt::QueuedConnection);
    if (m_options.log)
        m_processor.setLog([this](const std::string &line) {
            print(QString::asprintf("[%9.3f] ", double(m_uptime.elapsed()) / 1000.0) +
                  QString::fromStdString(line));
        });
    m_uptime.start();
}

SimServer::~SimServer()
{
    m_tcp.reset(); // the transport's worker ends first: nothing more comes in
    if (m_saveTimer.isActive())
        saveNow();
    if (m_meterSocket >= 0)
        ::close(m_meterSocket);
    m_bootNotifier.reset();
    if (m_bootSocket >= 0)
        ::close(m_bootSocket);
}

void SimServer::print(const QString &line)
{
    if (m_output) {
        m_output(line);
        return;
    }
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

bool SimServer::start(QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    SimBank &bank = m_processor.bank();
    if (m_options.stateDir.isEmpty()) {
        bank.loadFactoryBank();
    } else {
        switch (loadState(m_options.stateDir, bank, m_processor.clock())) {
        case StateLoad::Loaded:
            break;
        case StateLoad::Missing:
            bank.loadFactoryBank();
            if (!saveNow())
                return fail(QStringLiteral("cannot write the state into %1").arg(m_options.stateDir));
            break;
        case StateLoad::Invalid:
            return fail(
                QStringLiteral("%1/%2 is not a simulator state file; move it away or choose another folder")
                    .arg(m_options.stateDir, QString::fromLatin1(STATE_FILE_NAME)));
        }
    }
    if (m_options.setPassword)
        m_processor.setPassword(m_options.password);

    m_meterSocket = udpSocket();
    if (m_options.boot) {
        m_bootSocket = udpSocket();
        const int on = 1;
        ::setsockopt(m_bootSocket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        ::setsockopt(m_bootSocket, SOL_SOCKET, SO_REUSEPORT, &on, sizeof on);
        // Replies are broadcast, so they are received on every address; requests go to 127.0.0.1.
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(m_options.bootReplyPort);
        at.sin_addr.s_addr = htonl(INADDR_ANY);
        socklen_t size = sizeof at;
        if (m_bootSocket < 0 ||
            ::bind(m_bootSocket, reinterpret_cast<const sockaddr *>(&at), sizeof at) != 0 ||
            ::getsockname(m_bootSocket, reinterpret_cast<sockaddr *>(&at), &size) != 0)
            return fail(
                QStringLiteral("cannot receive boot replies on UDP port %1").arg(m_options.bootReplyPort));
        m_bootReplyPort = ntohs(at.sin_port);
        m_bootNotifier = std::make_unique<QSocketNotifier>(m_bootSocket, QSocketNotifier::Read);
        connect(m_bootNotifier.get(), &QSocketNotifier::activated, this, &SimServer::readBootReplies);
    }

    TcpCallbacks callbacks;
    callbacks.context = this;
    callbacks.on_data = &SimServer::onData;
    callbacks.on_status = &SimServer::onStatus;
    tcQTcpServer::Options listen;
    listen.loopbackOnly = true;
    listen.replaceOnConnect = true;
    m_tcp = std::make_unique<tcQTcpServer>(m_options.port, callbacks, listen);
    if (m_tcp->boundPort() == 0) {
        m_tcp.reset();
        return fail(QStringLiteral("cannot listen on 127.0.0.1:%1 (is another processor or simulator there?)")
                        .arg(m_options.port));
    }
    updateScheduleTimer();
    if (m_options.stalled)
        stall();
    if (m_options.boot) {
        m_bootTimer.start();
        bootTick();
    }
    return true;
}

uint16_t SimServer::port() const
{
    return m_tcp ? m_tcp->boundPort() : 0;
}

// ---- The transport's callbacks, on its worker thread: handed over to this object's thread. ----

void SimServer::onData(void *self, const uint8_t *bytes, size_t count)
{
    auto *s = static_cast<SimServer *>(self);
    s->queueInput({LinkInput::Bytes, s->m_linkGeneration.load(), std::vector<uint8_t>(bytes, bytes + count)});
}

void SimServer::onStatus(void *self, int status)
{
    auto *s = static_cast<SimServer *>(self);
    if (status == LINK_UP)
        s->queueInput({LinkInput::Up, ++s->m_linkGeneration, {}});
    else if (status == LINK_CLOSED)
        s->queueInput({LinkInput::Down, s->m_linkGeneration.load(), {}});
}

// The data goes through a queue of ours, under a lock, and the signal only says that there is some:
// one signal for a burst of reads.
void SimServer::queueInput(LinkInput input)
{
    bool wasEmpty;
    {
        std::lock_guard<std::mutex> guard(m_inputLock);
        wasEmpty = m_input.empty();
        m_input.push_back(std::move(input));
    }
    if (wasEmpty)
        emit sig_link_input();
}

void SimServer::takeInput()
{
    std::deque<LinkInput> input;
    {
        std::lock_guard<std::mutex> guard(m_inputLock);
        input.swap(m_input);
    }
    for (const LinkInput &i : input) {
        switch (i.kind) {
        case LinkInput::Up:
            linkUp(i.generation);
            break;
        case LinkInput::Down:
            linkDown(i.generation);
            break;
        case LinkInput::Bytes:
            takeBytes(i.generation, i.bytes);
            break;
        }
    }
}

void SimServer::linkUp(unsigned generation)
{
    m_sessionGeneration = generation;
    ++m_accepted;
    m_processor.connectionOpened();
    if (!m_stalled)
        m_keepAlive.start();
    print(QStringLiteral("orba-sim: application connected"));
}

void SimServer::linkDown(unsigned generation)
{
    if (generation != m_sessionGeneration || !m_processor.connected())
        return;
    m_processor.connectionClosed();
    m_keepAlive.stop();
    m_flashTimer.stop();
    print(QStringLiteral("orba-sim: application disconnected"));
}

void SimServer::takeBytes(unsigned generation, const std::vector<uint8_t> &bytes)
{
    if (generation != m_sessionGeneration || !m_processor.connected())
        return; // left over from a connection that has ended
    if (m_stalled)
        return;
    const uint64_t before = m_processor.framesIn();
    m_processor.feed(bytes.data(), bytes.size());
    if (m_processor.framesIn() != before && m_processor.connected())
        m_keepAlive.start();
    if (m_options.stallAfterLoginMs >= 0 && m_processor.loggedIn() && !m_stallTimer.isActive())
        m_stallTimer.start();
}

// Everything stops but the sockets: what comes in is dropped unread, nothing goes out, and no
// connection is closed, the way a hung processor looks from outside.
void SimServer::stall()
{
    if (m_stalled)
        return;
    m_stalled = true;
    m_keepAlive.stop();
    m_meterTimer.stop();
    m_flashTimer.stop();
    m_clockTimer.stop();
    print(
        QStringLiteral("orba-sim: stalled: answering nothing, sending no meters, keeping connections open"));
}

void SimServer::keepAliveExpired()
{
    if (!m_processor.connected())
        return;
    print(
        QStringLiteral("orba-sim: no frame for %1 ms: dropping the connection").arg(m_keepAlive.interval()));
    const unsigned generation = m_sessionGeneration;
    m_processor.connectionClosed();
    m_flashTimer.stop();
    if (m_tcp && m_linkGeneration.load() == generation)
        m_tcp->close();
}

// ---- SimHost ----

void SimServer::simFrame(const uint8_t *frame, size_t length)
{
    if (m_tcp && !m_stalled)
        m_tcp->send(frame, length);
}

void SimServer::simDatagram(uint16_t port, const uint8_t *bytes, size_t size)
{
    if (m_stalled)
        return;
    sendLoopback(m_meterSocket, port, bytes, size);
}

void SimServer::simMetersChanged()
{
    if (m_processor.connected() && m_processor.meterMode() != MeterMode::Off && !m_stalled) {
        if (!m_meterTimer.isActive())
            m_meterTimer.start();
    } else {
        m_meterTimer.stop();
    }
}

void SimServer::simFlashStarted()
{
    m_flashTimer.start();
}

void SimServer::simStateChanged()
{
    if (!m_options.stateDir.isEmpty() && !m_saveTimer.isActive())
        m_saveTimer.start();
    updateScheduleTimer();
}

void SimServer::updateScheduleTimer()
{
    if (m_processor.bank().events.empty() || m_stalled)
        m_clockTimer.stop();
    else if (!m_clockTimer.isActive())
        m_clockTimer.start();
}

bool SimServer::saveNow()
{
    m_saveTimer.stop();
    if (m_options.stateDir.isEmpty())
        return false;
    const bool ok = saveState(m_options.stateDir, m_processor.bank(), m_processor.clock());
    if (!ok)
        print(QStringLiteral("orba-sim: could not write the state into %1").arg(m_options.stateDir));
    return ok;
}

// ---- Timers ----

void SimServer::meterTick()
{
    m_processor.meterTick(double(m_uptime.elapsed()) / 1000.0);
}

void SimServer::flashTick()
{
    if (!m_processor.flashStep())
        m_flashTimer.stop();
}

void SimServer::clockTick()
{
    m_processor.clockTick();
}

void SimServer::bootTick()
{
    uint8_t request[BOOT_REQUEST_SIZE];
    sendLoopback(m_bootSocket, m_options.bootPort, request, buildBootRequest(request, m_options.bootMac));
}

void SimServer::readBootReplies()
{
    uint8_t buffer[1500];
    for (;;) {
        const ssize_t n = ::recv(m_bootSocket, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n < 0)
            return;
        BootReply reply;
        if (!parseBootReply(buffer, size_t(n), m_options.bootMac, reply))
            continue;
        ++m_bootReplies;
        print(QStringLiteral("orba-sim: boot reply for %1: address %2, subnet %3, gateway %4, name \"%5\"")
                  .arg(QString::fromStdString(macText(reply.mac)), QString::fromStdString(ipText(reply.ip)),
                       QString::fromStdString(ipText(reply.subnet)),
                       QString::fromStdString(ipText(reply.gateway)), QString::fromLatin1(reply.name)));
    }
}

} // namespace orba::sim
