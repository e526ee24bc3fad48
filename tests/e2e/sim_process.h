// orba-sim as a child process on a loopback port, with its frame log collected line by line.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace orba::test {

class SimProcess
{
public:
    // Extra arguments go after --port, --log and --state.
    explicit SimProcess(const QString &stateDir, const QStringList &extra = {});
    ~SimProcess();

    // Starts on the port (0: one the simulator picks) and waits until it listens.
    bool start(uint16_t port = 0);
    // Stops it the way a user would (SIGTERM), so it saves its state.
    void stop();
    bool running() const { return m_process.state() != QProcess::NotRunning; }
    uint16_t port() const { return m_port; }

    // Log lines so far; each call first reads what the simulator wrote since.
    const QStringList &lines();
    // Frames of that message type received from the application ("in" lines).
    int framesIn(const char *type) { return frames("in  ", type); }
    int framesOut(const char *type) { return frames("out ", type); }
    void clearLines() { lines(), m_lines.clear(); }

private:
    int frames(const char *direction, const char *type);

    QProcess m_process;
    QString m_stateDir;
    QStringList m_extra;
    QStringList m_lines;
    QByteArray m_partial;
    uint16_t m_port = 0;
};

} // namespace orba::test
