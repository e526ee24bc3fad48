// A worker thread with a run operation, the shape of the link's threads. It runs on std::thread so
// that its end is a join, which the race checker sees; the GUI side of Qt works with such threads
// as with its own (queued signals from them are delivered as usual).
#pragma once

#include <atomic>
#include <thread>

namespace orba {

class WorkerThread
{
public:
    // Scheduling hints. Ordinary threads on Linux share one scheduling class in which these levels
    // do not differ (Qt's own threads behave the same there), so they map onto nothing.
    enum Priority { LowPriority, NormalPriority, HighPriority, HighestPriority };

    WorkerThread() = default;
    virtual ~WorkerThread(); // the owner must have ended run() and called wait()
    WorkerThread(const WorkerThread &) = delete;
    WorkerThread &operator=(const WorkerThread &) = delete;

    void start(Priority priority);
    bool isRunning() const { return m_running.load(); }
    void wait(); // joins; safe to call twice

    // The calling worker's own level.
    static void setCurrentPriority(Priority) {}

protected:
    virtual void run() = 0;

private:
    std::thread m_thread;
    std::atomic<bool> m_running{false};
};

} // namespace orba
