// Waiting on a condition with a deadline instead of sleeping a fixed time.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

namespace orba::test {

// Polls a condition that another thread makes true.
inline bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QThread::msleep(1);
    }
    return true;
}

// The same while running this thread's events, for conditions that queued slots make true.
inline bool waitProcessingEvents(const std::function<bool()> &condition, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// Runs this thread's events for a while, for pacing something sent repeatedly (not for waiting
// on a result: wait on a condition instead).
inline void processEventsFor(int ms)
{
    waitProcessingEvents([] { return false; }, ms);
}

} // namespace orba::test
