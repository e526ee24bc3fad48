// orba-sim as a child process on a loopback port, with its log (standard output and error)
// collected line by line.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace orba::test {

class SimProcess
{
public:
    // Extra arguments go after --port, --log, --commands and --state (left out for an empty folder).
    explicit SimProcess(const QString &stateDir = {}, const QStringList &extra = {});
    ~SimProcess();

    // Starts on the port (0: one the simulator picks) and waits until it listens.
    bool start(uint16_t port = 0);
    // Stops it the way a user would (SIGTERM), so it saves its state. Returns its exit code, -1
    // when it crashed or had to be killed.
    int stop();
    bool running() const { return m_process.state() != QProcess::NotRunning; }
    uint16_t port() const { return m_port; }

    // Log lines so far; each call first reads what the simulator wrote since.
    const QStringList &lines();
    QString output() { return lines().join(QLatin1Char('\n')); }
    // Waits until a line holds the text.
    bool waitOutput(const QString &text, int timeoutMs = 10000);
    // Frames of that message type received from the application ("in" lines) and sent to it.
    int framesIn(const char *type) { return frames("in  ", type); }
    int framesOut(const char *type) { return frames("out ", type); }
    // An edit on the processor's front panel: "set ID RAW" or "global ID VALUE".
    void frontPanel(const QString &edit);

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
