// The socket transport: one TCP connection to one peer, kept up by a worker thread for as long as
// the object lives. tcQTcpClient connects out (the application's link to the processor),
// tcQTcpServer waits for one incoming connection. Received bytes and link status changes go up
// through two plain callbacks; the transport knows nothing of frames.
#pragma once

#include "link/socket_wait.h"
#include "link/worker_thread.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

enum LinkStatus : int {
    LINK_CLOSED = 0,     // an open socket was shut down and closed
    LINK_UP = 1,         // an open has just succeeded
    LINK_CONNECTING = 2, // an open attempt starts
    LINK_GONE = 3,       // the transport is being destroyed
};

struct TcpCallbacks
{
    void *context = nullptr;
    // Each chunk of received bytes, on the worker thread; valid only during the call.
    void (*on_data)(void *context, const uint8_t *bytes, size_t count) = nullptr;
    // Each status change, on the worker thread (LINK_GONE: on the destroying thread).
    void (*on_status)(void *context, int status) = nullptr;
};

class tcQTcp;

class tcQTcpThrd : public orba::WorkerThread
{
public:
    explicit tcQTcpThrd(tcQTcp *tcp) : m_tcp(tcp) {}
    ~tcQTcpThrd() override { wait(); }

protected:
    void run() override;

private:
    tcQTcp *m_tcp;
};

class tcQTcp
{
public:
    static constexpr size_t BUFFER_SIZE = 8192;
    static constexpr int CONNECT_WAIT_MS = 5000; // connect, and the wait for data while connected
    static constexpr int SEND_BUDGET_MS = 2000;

    virtual ~tcQTcp(); // reports LINK_GONE once the worker has ended
    tcQTcp(const tcQTcp &) = delete;
    tcQTcp &operator=(const tcQTcp &) = delete;

    // One connect (client) or listen-and-accept (server) attempt; called by the worker only.
    virtual bool open() = 0;
    // Shuts the data socket down and closes it, reporting LINK_CLOSED when there was one.
    void close();
    // Ends the current link from any thread the way a peer's close would: the worker sees the end,
    // closes the socket and reports LINK_CLOSED itself, then tries again as after any lost link.
    void hangUp();
    // Sends all bytes or as many as the send budget allows; -1 when not connected or on a socket
    // error (the link is then closed). When the budget runs out, returns what went out (maybe 0)
    // and closes the link, so the peer never takes a cut frame for a whole one.
    int send(const void *bytes, size_t count);
    // One non-blocking receive: a count, 0 when nothing is waiting, -1 when not connected or the
    // link has just closed.
    int receive(uint8_t *buffer, size_t capacity);

    bool isConnected() const { return m_connected.load(); }
    bool stopping() const { return m_stop.load(); }
    uint16_t port() const { return m_port; }
    void setSendBudget(int ms) { m_sendBudgetMs.store(ms); }

    void pump(); // one step of the worker loop

protected:
    tcQTcp(uint16_t port, const TcpCallbacks &callbacks);

    // The variants start the worker once they are built and stop it first thing when destroyed,
    // so that it never runs open() on a half-built or half-destroyed object.
    void startWorker();
    void stopWorker();

    // Closes the sockets without a report (destruction).
    virtual void closeSilently();
    void report(int status);
    void setDataSocket(int fd);
    int takeDataSocket();
    static void configureDataSocket(int fd);
    // The start of every attempt, under the lock: drops a link still up, reports the attempt and
    // makes a TCP socket; -1 (after the retry pause) when the system gives none.
    int beginAttempt(std::chrono::steady_clock::time_point &started, int retryMs);
    // Sleeps away what is left of the wait since an attempt started, unless woken.
    void pauseRest(std::chrono::steady_clock::time_point started, int waitMs);
    // The worker's wait while connected: true when the data socket fd has something to read.
    virtual bool waitForData(int fd);

    std::recursive_mutex m_lock; // open and close (open calls close)
    std::mutex m_ioLock;         // the socket handles, against each call that uses them
    orba::WakePipe m_wake;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_connected{false};

private:
    void setWorkerPriority(bool highest);

    std::mutex m_sendLock; // keeps each sent frame whole
    const uint16_t m_port;
    int m_socket = -1; // guarded by m_ioLock
    uint8_t m_buffer[BUFFER_SIZE];
    std::unique_ptr<tcQTcpThrd> m_thread;
    const TcpCallbacks m_callbacks;
    std::atomic<int> m_sendBudgetMs{SEND_BUDGET_MS};
    bool m_workerHighest = true; // worker thread only
};

class tcQTcpClient : public tcQTcp
{
public:
    // address: dotted-decimal IPv4 text (no name lookup); an address that is no such text, or
    // 0.0.0.0 (which the system would take for this machine), never connects. connectWaitMs: how
    // long one attempt waits; a refused attempt waits it out too, and so does the attempt after a
    // link that was up and dropped, so neither an unreachable peer nor one that accepts and closes
    // at once is tried more often than that.
    tcQTcpClient(const char *address, uint16_t port, const TcpCallbacks &callbacks,
                 int connectWaitMs = CONNECT_WAIT_MS);
    ~tcQTcpClient() override;

    bool open() override;

private:
    uint8_t m_address[4] = {};
    bool m_addressValid = false;
    const int m_connectWaitMs;
    bool m_hadLink = false; // worker only: the last attempt connected
};

class tcQTcpServer : public tcQTcp
{
public:
    static constexpr int ACCEPT_WAIT_MS = 60000;
    static constexpr int BIND_RETRY_MS = 1000;

    struct Options
    {
        bool loopbackOnly = false; // listen on 127.0.0.1 only instead of every local address
        // Keep one listening socket for the server's whole life, bound before the constructor
        // returns, and let a new connection replace the current one (reported as LINK_CLOSED for
        // the old peer, then LINK_UP). Without it the server listens only while no peer is
        // connected, with a new listening socket for every attempt.
        bool replaceOnConnect = false;
        int acceptWaitMs = ACCEPT_WAIT_MS;
    };

    tcQTcpServer(uint16_t port, const TcpCallbacks &callbacks, int acceptWaitMs = ACCEPT_WAIT_MS);
    tcQTcpServer(uint16_t port, const TcpCallbacks &callbacks, const Options &options);
    ~tcQTcpServer() override;

    bool open() override;
    // The port listened on: the one asked for, or the system's choice for port 0; 0 while none is
    // bound.
    uint16_t boundPort() const { return m_boundPort.load(); }

protected:
    void closeSilently() override;
    bool waitForData(int fd) override;

private:
    bool listenOn(int fd); // binds and listens; on success fd is the stored listening socket
    int bindListener();    // a new listening socket (also stored), or -1
    int listener();
    bool openKeepingListener();
    void replacePeer(int listening);

    int m_listen = -1; // guarded by m_ioLock
    const Options m_options;
    std::atomic<uint16_t> m_boundPort{0};
};
