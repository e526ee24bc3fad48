// METERIFACE: the meter receiver. It binds a local UDP port (the first free one of ten from the
// first meter port), receives meter datagrams on its own thread, checks each one and keeps only
// the newest valid datagram, which the GUI fetches with a timer. Datagrams that come inside
// MSG_METER_DATA frames are checked the same way. The request counter ties datagrams to the
// latest meter request, so answers to an older request are dropped. UDP datagrams are taken only
// from the processor's address; anyone else on the network could otherwise feed meters and clock.
#pragma once

#include "link/meter_datagram.h"
#include "link/ports.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

class METERIFACE
{
public:
    using Notify = void (*)(void *context); // on the receiver's thread, or the caller's of check_datagram

    METERIFACE(void *context, Notify notify, uint16_t firstPort = orba::meterFirstPort());
    ~METERIFACE(); // close()
    METERIFACE(const METERIFACE &) = delete;
    METERIFACE &operator=(const METERIFACE &) = delete;

    uint16_t port() const { return m_port.load(); } // the port bound (or last tried when none was free)
    bool hasSocket() const { return m_hasSocket.load(); }

    // Keeps the datagram as the newest when it passes the check; returns whether it did.
    bool check_datagram(const uint8_t *bytes, size_t size = orba::METER_SIZE);
    // The processor's IPv4 address (network order as in a sockaddr, 0 for none): UDP datagrams from
    // any other sender are dropped, and without a processor all are.
    void setPeer(const uint8_t address[4]);
    void clearPeer() { m_peer.store(0); }
    // How many datagrams have passed the check so far (UDP and over the link), a sign of life.
    uint32_t acceptedCount() const { return m_accepted.load(); }
    // Copies the newest datagram (604 bytes) and returns 0, or -1 when none came since the last fetch.
    int fetch(uint8_t *destination);
    // Stops the thread and closes the socket; safe to call twice.
    void close();
    // Without the trace close() leaves on standard output (for programs whose output is data).
    void setQuiet(bool quiet) { m_quiet = quiet; }

    // The counter of the next meter request (incremented, wrapping at 256).
    uint8_t nextRequestCounter() { return uint8_t(++m_counter); }
    uint8_t requestCounter() const { return m_counter.load(); }

private:
    void bind();
    void receive();       // the receiver's thread
    void readDatagram(); // the receiver's thread

    void *m_context;
    Notify m_notify;
    std::atomic<uint16_t> m_port;
    std::atomic<bool> m_hasSocket{false};
    std::atomic<uint8_t> m_counter{0};
    std::atomic<uint32_t> m_peer{0};
    std::atomic<uint32_t> m_accepted{0};
    std::atomic<bool> m_stop{false};
    // A thread asleep in poll() until a datagram or the stop comes: meters arrive twenty times a
    // second, and an event loop woken for each costs several times the datagram's own work.
    std::thread m_thread;
    int m_socket = -1;
    int m_wake[2] = {-1, -1}; // written to end the receiver's wait
    bool m_quiet = false;

    // The receiver's thread only; one byte more than a meter datagram tells a longer one.
    uint8_t m_receive[orba::METER_SIZE + 1] = {};

    mutable std::mutex m_lock; // newest and the new-data flag
    uint8_t m_newest[orba::METER_SIZE] = {};
    bool m_newData = false;
};
