// A worker thread that runs a Qt event loop of its own, the shape of the link's threads. The
// objects that live on it (sockets, timers) are made there, as children of its anchor, and die
// there when it stops. It runs on std::thread so that its end is a join, which the race checker
// sees. The loop needs an application object (QCoreApplication); without one nothing is run on
// the worker and post() refuses every task.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class QEventLoop;
class QObject;

namespace orba {

class EventWorker
{
public:
    using Task = std::function<void()>;

    EventWorker() = default;
    ~EventWorker(); // stop()
    EventWorker(const EventWorker &) = delete;
    EventWorker &operator=(const EventWorker &) = delete;

    // Starts the thread and returns once setUp has run there. tearDown runs there after the loop
    // has ended, while the anchor's children still live.
    void start(Task setUp, Task tearDown);
    // Ends the loop after the task it runs now, runs tearDown and joins; safe to call twice.
    void stop();
    bool isCurrent() const;

    // Queues a task onto the worker's loop; false (and the task is dropped) once it is stopping or
    // when it runs no loop.
    bool post(Task task);
    // Runs a task on the worker and waits until it has run (at once on the worker itself). A task
    // still queued when the worker stops is dropped, and the wait ends all the same.
    void call(Task task);
    // The parent of every object made on the worker; for the worker only.
    QObject *anchor() const { return m_anchor; }

private:
    void run(const Task &setUp, const Task &tearDown);
    void runTasks();
    void queue(Task task);

    std::thread m_thread;
    std::thread::id m_id; // written by the worker before start() returns, and after the join
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    QObject *m_anchor = nullptr;  // under m_lock; null until set up and once stopping
    std::deque<Task> m_tasks;     // under m_lock
    QEventLoop *m_loop = nullptr; // worker only
    bool m_ready = false;         // under m_lock
    bool m_looping = false;       // under m_lock: a loop runs (there is an application object)
    bool m_stopping = false;      // under m_lock
};

} // namespace orba
