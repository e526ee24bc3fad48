// tcNetServerDlgThrd: the boot server's worker. It binds a UDP socket (broadcasts allowed) on the
// boot port and, while replies are on, answers every boot request from the chosen MAC address
// with a boot reply and raises sig_up_count(). The socket lives on the worker thread from bind to
// close; the GUI thread only switches replies on and off.
#pragma once

#include "admin/boot_protocol.h"
#include "link/worker_thread.h"

#include <QHostAddress>
#include <QObject>

#include <atomic>
#include <cstdint>
#include <mutex>

class QUdpSocket;

namespace orba {

struct BootServerOptions
{
    uint16_t port = BOOT_SERVER_PORT; // where requests arrive
    QHostAddress replyAddress = QHostAddress(QHostAddress::Broadcast);
    uint16_t replyPort = 0; // 0: the same as port
};

class tcNetServerDlgThrd : public QObject
{
    Q_OBJECT
public:
    explicit tcNetServerDlgThrd(const BootServerOptions &options = {}, QObject *parent = nullptr);
    ~tcNetServerDlgThrd() override; // closes the socket and ends the worker

    // Binds the socket and starts the worker; false when the port cannot be had.
    bool open();
    bool isOpen() const { return m_open; }
    uint16_t port() const { return m_options.port; }
    const BootServerOptions &options() const { return m_options; }

    // Replies on with these settings, or off. The settings are taken before replies start.
    void start(const BootSettings &settings);
    void stop();
    bool running() const { return m_running.load(); }

    // Handles every datagram that has arrived by now, on the worker, and returns after; for a
    // caller that must know a datagram was seen before it goes on.
    void handlePending();

    // Replies sent since open (any thread).
    int repliesSent() const { return m_replies.load(); }

signals:
    // A request was answered; raised on the worker thread.
    void sig_up_count();

private:
    void bind(bool &bound);
    void readDatagrams();
    void handle(const uint8_t *data, size_t size);

    BootServerOptions m_options;
    EventWorker m_worker;
    QUdpSocket *m_socket = nullptr; // worker only
    bool m_open = false;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_replies{0};
    mutable std::mutex m_settingsLock;
    BootSettings m_settings;                  // under m_settingsLock
    uint8_t m_buffer[BOOT_DATAGRAM_MAX] = {}; // worker only: the request, then the reply
};

} // namespace orba
