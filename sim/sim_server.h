// SimServer: the simulated processor on the network. It listens on 127.0.0.1 (one application at a
// time; a new connection replaces the old one), feeds the received bytes to a SimProcessor on the
// thread that runs its event loop, and gives the processor its clocks: meters at the chosen rate,
// the keep-alive, the flash steps, the schedule and the saving of the state. With a MAC address it
// also plays a unit without network settings: it sends a boot request to 127.0.0.1 every second and
// prints the settings of each valid boot reply. Everything it sends goes to 127.0.0.1 only.
#pragma once

#include "link/tcp.h"
#include "sim/boot_records.h"
#include "sim/sim_processor.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class QSocketNotifier;

namespace orba::sim {

struct SimOptions
{
    uint16_t port = 55895; // 0: a free port, read back with port()
    bool setPassword = false;
    std::string password;
    int meterRate = 20;      // datagrams a second
    int flashSeconds = 5;    // how long writing flash takes
    int keepAliveMs = 10000; // no frame for this long drops the connection
    // Playing a processor that hangs: this long after a login is accepted it answers nothing more
    // and sends no meters, yet keeps every connection open (-1: never).
    int stallAfterLoginMs = -1;
    bool stalled = false; // hung from the start: never answers the login
    QString stateDir;     // empty: nothing is kept across runs
    bool log = false;     // a line per frame in and out
    bool boot = false;
    uint8_t bootMac[6] = {};
    uint16_t bootPort = BOOT_PORT;      // where boot requests go (on 127.0.0.1)
    uint16_t bootReplyPort = BOOT_PORT; // where boot replies are received
};

class SimServer : public QObject, private SimHost
{
    Q_OBJECT
public:
    explicit SimServer(const SimOptions &options, QObject *parent = nullptr);
    ~SimServer() override;

    // Loads the state, binds the listener (and the boot socket); false with a one-line reason.
    bool start(QString *error);
    uint16_t port() const;
    uint16_t bootReplyPort() const { return m_bootReplyPort; }

    SimProcessor &processor() { return m_processor; }
    bool clientConnected() const { return m_processor.connected(); }
    int connectionsAccepted() const { return m_accepted; }
    bool stalled() const { return m_stalled; }
    int bootRepliesReceived() const { return m_bootReplies; }

    // Where log and report lines go (standard output by default).
    void setOutput(std::function<void(const QString &)> output) { m_output = std::move(output); }

    bool saveNow(); // writes the state at once (when a state folder was given)

    // The timers' slots, public so tests can run them without waiting.
signals:
    void sig_link_input(); // raised on the transport's thread when its queue was empty

public slots:
    void meterTick();
    void flashTick();
    void clockTick();
    void keepAliveExpired();
    void bootTick();
    void stall();

private:
    // SimHost
    void simFrame(const uint8_t *frame, size_t length) override;
    void simDatagram(uint16_t port, const uint8_t *bytes, size_t size) override;
    void simMetersChanged() override;
    void simFlashStarted() override;
    void simStateChanged() override;

    // What the transport reports, queued on its thread and taken on this object's.
    struct LinkInput
    {
        enum Kind { Up, Down, Bytes } kind;
        unsigned generation;
        std::vector<uint8_t> bytes;
    };
    static void onData(void *self, const uint8_t *bytes, size_t count);
    static void onStatus(void *self, int status);
    void queueInput(LinkInput input);
    void takeInput();
    void takeBytes(unsigned generation, const std::vector<uint8_t> &bytes);
    void linkUp(unsigned generation);
    void linkDown(unsigned generation);
    void readBootReplies();
    void updateScheduleTimer();
    void print(const QString &line);

    SimOptions m_options;
    SimProcessor m_processor;
    std::unique_ptr<tcQTcpServer> m_tcp;
    std::atomic<unsigned> m_linkGeneration{0}; // counts connections, written by the transport
    std::mutex m_inputLock;
    std::deque<LinkInput> m_input; // under m_inputLock
    unsigned m_sessionGeneration = 0;
    int m_accepted = 0;
    bool m_stalled = false;
    int m_meterSocket = -1;
    int m_bootSocket = -1;
    uint16_t m_bootReplyPort = 0;
    int m_bootReplies = 0;
    std::unique_ptr<QSocketNotifier> m_bootNotifier;
    QTimer m_meterTimer, m_flashTimer, m_clockTimer, m_keepAlive, m_saveTimer, m_bootTimer, m_stallTimer;
    QElapsedTimer m_uptime;
    std::function<void(const QString &)> m_output;
};

} // namespace orba::sim
