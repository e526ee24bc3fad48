#include "admin/boot_server.h"

#include <QNetworkProxy>
#include <QUdpSocket>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

namespace orba {

tcNetServerDlgThrd::tcNetServerDlgThrd(const BootServerOptions &options, QObject *parent)
    : QObject(parent), m_options(options)
{
    if (m_options.replyPort == 0)
        m_options.replyPort = m_options.port;
}

tcNetServerDlgThrd::~tcNetServerDlgThrd()
{
    m_stop.store(true);
    m_running.store(false);
    m_worker.stop();
}

bool tcNetServerDlgThrd::open()
{
    if (m_open)
        return true;
    bool bound = false;
    m_worker.start([this, &bound] { bind(bound); },
                   [this] {
                       if (m_socket) {
                           m_socket->disconnect();
                           m_socket->close();
                           delete m_socket;
                           m_socket = nullptr;
                       }
                   });
    m_open = bound;
    if (!m_open)
        m_worker.stop();
    return m_open;
}

void tcNetServerDlgThrd::bind(bool &bound)
{
    auto *socket = new QUdpSocket(m_worker.anchor());
    socket->setProxy(QNetworkProxy::NoProxy);
    // Not shared: a second server on this port would take some of the requests.
    if (!socket->bind(QHostAddress(QHostAddress::AnyIPv4), m_options.port,
                      QAbstractSocket::DontShareAddress)) {
        delete socket;
        return;
    }
    // Replies go to the broadcast address: the unit has no address of its own yet.
    const int on = 1;
    ::setsockopt(socket->socketDescriptor(), SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char *>(&on),
                 sizeof on);
    m_socket = socket;
    QObject::connect(m_socket, &QUdpSocket::readyRead, m_worker.anchor(), [this] { readDatagrams(); });
    bound = true;
}

void tcNetServerDlgThrd::start(const BootSettings &settings)
{
    {
        std::lock_guard<std::mutex> hold(m_settingsLock);
        m_settings = settings;
    }
    m_running.store(true);
}

void tcNetServerDlgThrd::stop()
{
    m_running.store(false);
}

void tcNetServerDlgThrd::handlePending()
{
    if (m_open)
        m_worker.call([this] { readDatagrams(); });
}

void tcNetServerDlgThrd::readDatagrams()
{
    // Read until the socket is empty, also when it already was: each read re-arms the socket's
    // notification, which a drain from handlePending() could otherwise leave off.
    while (m_socket) {
        const qint64 n = m_socket->readDatagram(reinterpret_cast<char *>(m_buffer), qint64(sizeof m_buffer));
        if (n < 0)
            break;
        if (!m_stop.load() && m_running.load())
            handle(m_buffer, size_t(n));
    }
}

void tcNetServerDlgThrd::handle(const uint8_t *data, size_t size)
{
    BootSettings settings;
    {
        std::lock_guard<std::mutex> hold(m_settingsLock);
        settings = m_settings;
    }
    if (readBootRequest(data, size, settings.mac) != BootRequest::Answer)
        return;
    const size_t length = buildBootReply(m_buffer, settings);
    m_socket->writeDatagram(reinterpret_cast<const char *>(m_buffer), qint64(length), m_options.replyAddress,
                            m_options.replyPort);
    m_replies.fetch_add(1);
    emit sig_up_count();
}

} // namespace orba
