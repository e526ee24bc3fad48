#include "link/meter.h"

#include <QHostAddress>
#include <QNetworkProxy>
#include <QUdpSocket>

#include <cstdio>
#include <cstring>

using namespace orba;

METERIFACE::METERIFACE(void *context, Notify notify, uint16_t firstPort)
    : m_context(context), m_notify(notify), m_port(firstPort)
{
    m_worker.start([this] { bind(); },
                   [this] {
                       if (m_socket) {
                           m_socket->disconnect();
                           delete m_socket;
                           m_socket = nullptr;
                       }
                   });
    m_running = m_hasSocket.load();
    if (!m_running)
        m_worker.stop(); // meters can still come over the control link
}

METERIFACE::~METERIFACE()
{
    close();
}

void METERIFACE::bind()
{
    uint16_t port = m_port.load();
    for (int attempt = 0; attempt < METER_PORT_TRIES; ++attempt) {
        auto *socket = new QUdpSocket(m_worker.anchor());
        socket->setProxy(QNetworkProxy::NoProxy);
        // Not shared: a second receiver on this machine must move on to the next port rather
        // than take this one's datagrams.
        if (socket->bind(QHostAddress(QHostAddress::AnyIPv4), port, QAbstractSocket::DontShareAddress)) {
            m_socket = socket;
            break;
        }
        delete socket;
        if (port == 65535)
            break;
        ++port;
    }
    m_port.store(port);
    if (!m_socket)
        return;
    QObject::connect(m_socket, &QUdpSocket::readyRead, m_worker.anchor(), [this] { readDatagrams(); });
    m_hasSocket.store(true);
}

void METERIFACE::readDatagrams()
{
    while (m_socket->hasPendingDatagrams()) {
        // The real size, so that a longer datagram is not mistaken for 604 bytes.
        const qint64 size = m_socket->pendingDatagramSize();
        QHostAddress from;
        const qint64 n =
            m_socket->readDatagram(reinterpret_cast<char *>(m_receive), qint64(sizeof m_receive), &from);
        if (n < 0)
            break;
        bool isIPv4 = false;
        const quint32 sender = from.toIPv4Address(&isIPv4);
        const uint8_t senderBytes[4] = {uint8_t(sender >> 24), uint8_t(sender >> 16), uint8_t(sender >> 8),
                                        uint8_t(sender)};
        uint32_t senderNet = 0;
        std::memcpy(&senderNet, senderBytes, 4);
        const uint32_t peer = m_peer.load();
        const bool fromPeer = peer != 0 && isIPv4 && senderNet == peer;
        if (!m_stop.load() && fromPeer && size == qint64(METER_SIZE))
            check_datagram(m_receive, size_t(size));
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
    if (m_running) {
        m_worker.stop();
        m_running = false;
        if (!m_quiet) {
            std::printf("Sleeping in METERIFACE::close()  X\n");
            std::fflush(stdout);
        }
    }
    m_hasSocket.store(false);
}
