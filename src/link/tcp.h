// The socket transport: one TCP connection to one peer, kept up by a worker thread for as long as
// the object lives. tcQTcpClient connects out (the application's link to the processor),
// tcQTcpServer waits for one incoming connection. Received bytes and link status changes go up
// through two plain callbacks; the transport knows nothing of frames.
//
// The link is always direct: no system proxy is looked up or used.
//
// Threads: the worker thread runs an event loop and owns the sockets. Every on_data and every
// on_status call (LINK_CONNECTING, LINK_UP, LINK_CLOSED) is made on that worker thread, never on a
// thread that calls send(), close() or hangUp(); so whatever the owner resets on a status report
// is never reset under the worker's feet. Only LINK_GONE comes from the destructor, after the
// worker has ended. A send that fails or is cut short therefore asks the worker to end the link.
#pragma once

#include "link/worker_thread.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>

class QTcpServer;
class QTcpSocket;
class QTimer;

enum LinkStatus : int {
    LINK_CLOSED = 0,     // an open socket was shut down and closed
    LINK_UP = 1,         // an open has just succeeded
    LINK_CONNECTING = 2, // an open attempt starts
    LINK_GONE = 3,       // the transport is being destroyed
};

struct TcpCallbacks
{
    void *context = nullptr;
    // Each chunk of received bytes (at most BUFFER_SIZE), on the worker thread; valid only during
    // the call.
    void (*on_data)(void *context, const uint8_t *bytes, size_t count) = nullptr;
    // Each status change, on the worker thread (LINK_GONE: on the destroying thread).
    void (*on_status)(void *context, int status) = nullptr;
};

class tcQTcp
{
public:
    static constexpr size_t BUFFER_SIZE = 8192;
    static constexpr int CONNECT_WAIT_MS = 5000;
    static constexpr int SEND_BUDGET_MS = 2000;

    virtual ~tcQTcp(); // reports LINK_GONE once the worker has ended
    tcQTcp(const tcQTcp &) = delete;
    tcQTcp &operator=(const tcQTcp &) = delete;

    // Ends the current link, reporting LINK_CLOSED when there was one, and the worker tries again
    // as after any lost link. From another thread it waits until the worker has done so; on the
    // worker (inside a callback) it only asks for it.
    void close();
    // Ends the current link from any thread the way a peer's close would, without waiting.
    void hangUp();
    // Sends all bytes or as many as the send budget allows; -1 when not connected or on a socket
    // error. When the budget runs out, returns what went out (maybe 0) and the link is ended, so
    // the peer never takes a cut frame for a whole one. Any thread; on the worker (the meter
    // acknowledgement, sent from on_data) the bytes are queued at once and the budget is watched
    // from the worker's loop.
    int send(const void *bytes, size_t count);

    bool isConnected() const { return m_connected.load(); }
    uint16_t port() const { return m_port; }
    void setSendBudget(int ms) { m_sendBudgetMs.store(ms); }

protected:
    using Clock = std::chrono::steady_clock;

    tcQTcp(uint16_t port, const TcpCallbacks &callbacks);

    // The variants start the worker once they are built and stop it first thing when destroyed,
    // so that it never calls them half-built or half-destroyed.
    void startWorker();
    void stopWorker();

    // ---- On the worker only.
    virtual void setUp() {}
    // Closes the variant's own sockets without a report (destruction).
    virtual void tearDown() {}
    // The first attempt, and each one after a link has ended.
    virtual void attempt() = 0;
    // After the link ended (LINK_CLOSED reported): when to make the next attempt.
    virtual void linkEnded() = 0;

    QObject *anchor() const { return m_worker.anchor(); }
    bool post(orba::EventWorker::Task task) { return m_worker.post(std::move(task)); }
    bool linkUp() const { return m_socket != nullptr; }
    void report(int status);
    // A connected socket becomes the link: LINK_UP.
    void takeLink(QTcpSocket *socket);
    // Closes the link, reporting LINK_CLOSED when there was one; endLink() then calls linkEnded().
    void closeLink();
    void endLink();
    static void discard(QTcpSocket *socket);
    static int msLeft(Clock::time_point started, int waitMs);

private:
    struct SendRequest
    {
        const uint8_t *bytes;
        size_t count;
        Clock::time_point deadline;
        enum { Queued, Writing, Done } state = Queued;
        int result = -1;
    };

    int sendHere(const void *bytes, size_t count);
    void takeRequest();
    void finishRequest(int result);
    void watchBudget(Clock::time_point deadline);
    void budgetSpent();
    void bytesGone();
    void readAvailable();
    void linkLost(unsigned generation);
    void endLinkOf(unsigned generation);
    void tearDownLink();

    const uint16_t m_port;
    const TcpCallbacks m_callbacks;
    std::atomic<int> m_sendBudgetMs{SEND_BUDGET_MS};
    std::atomic<bool> m_connected{false};
    std::atomic<unsigned> m_generation{0}; // counts links; a request to end one names it
    orba::EventWorker m_worker;

    std::mutex m_sendLock; // one send from another thread at a time, each waiting for its outcome
    std::mutex m_mailLock;
    std::condition_variable m_mailDone;
    SendRequest *m_request = nullptr; // under m_mailLock: the waiting sender's request
    bool m_accepting = false;         // under m_mailLock: the worker takes requests

    // Worker only.
    QTcpSocket *m_socket = nullptr;
    QTimer *m_budget = nullptr;
    bool m_writingRequest = false; // the request is taken, its bytes not all handed to the system
    size_t m_writingCount = 0;
    uint8_t m_buffer[BUFFER_SIZE];
};

class tcQTcpClient : public tcQTcp
{
public:
    // address: dotted-decimal IPv4 text (no name lookup); an address that is no such text, or
    // 0.0.0.0 (which the system would take for this machine), never connects. connectWaitMs: how
    // long one attempt lasts (LINK_CONNECTING to LINK_CLOSED; a refused connect is made again
    // within it every tenth of it), and the pause after a failed attempt or a link that was up and
    // dropped, so neither an unreachable peer nor one that accepts and closes at once is tried
    // more often than that.
    tcQTcpClient(const char *address, uint16_t port, const TcpCallbacks &callbacks,
                 int connectWaitMs = CONNECT_WAIT_MS);
    ~tcQTcpClient() override;

protected:
    void setUp() override;
    void tearDown() override;
    void attempt() override;
    void linkEnded() override;

private:
    void connectOnce();
    void connected(unsigned attempt);
    void attemptFailed(unsigned attempt);
    void endWindow();
    void timerEnded();

    uint8_t m_address[4] = {};
    bool m_addressValid = false;
    const int m_connectWaitMs;

    // Worker only.
    QTcpSocket *m_connecting = nullptr;
    QTimer *m_timer = nullptr; // the attempt's window, or the pause before the next attempt
    QTimer *m_retry = nullptr; // a refused connect made again within the window
    bool m_inWindow = false;
    unsigned m_attempt = 0;
    Clock::time_point m_started;
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

    // The port listened on: the one asked for, or the system's choice for port 0; 0 while none has
    // been bound yet.
    uint16_t boundPort() const { return m_boundPort.load(); }

protected:
    void setUp() override;
    void tearDown() override;
    void attempt() override;
    void linkEnded() override;

private:
    bool listen();
    void closeListener();
    void accept();
    void timerEnded();

    const Options m_options;
    std::atomic<uint16_t> m_boundPort{0};

    // Worker only.
    QTcpServer *m_listener = nullptr;
    QTimer *m_timer = nullptr; // the wait for a peer, or the pause before binding again
    bool m_waiting = false;    // the timer is the wait for a peer
    Clock::time_point m_started;
};
