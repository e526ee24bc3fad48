#include "link/worker_thread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>

#include <deque>
#include <memory>

namespace orba {

namespace {

// The worker's end of the task queue: Qt only carries a bare wake-up to it, and the tasks
// themselves go through the worker's own locked queue, where the race checker sees every handover.
class Anchor : public QObject
{
    Q_OBJECT
public:
    explicit Anchor(std::function<void()> runTasks) : m_runTasks(std::move(runTasks)) {}
    Q_INVOKABLE void runTasks() { m_runTasks(); }

private:
    std::function<void()> m_runTasks;
};

// Set when the last copy of a task dies, whether the task ran or was dropped unrun.
struct Finished
{
    std::mutex lock;
    std::condition_variable changed;
    bool done = false;
};

struct FinishedOnDestruction
{
    explicit FinishedOnDestruction(std::shared_ptr<Finished> f) : finished(std::move(f)) {}
    FinishedOnDestruction(const FinishedOnDestruction &) = delete;
    FinishedOnDestruction &operator=(const FinishedOnDestruction &) = delete;
    ~FinishedOnDestruction()
    {
        {
            std::lock_guard<std::mutex> guard(finished->lock);
            finished->done = true;
        }
        finished->changed.notify_all();
    }

    std::shared_ptr<Finished> finished;
};

} // namespace

EventWorker::~EventWorker()
{
    stop();
}

void EventWorker::start(Task setUp, Task tearDown)
{
    std::unique_lock<std::mutex> guard(m_lock);
    m_ready = false;
    m_stopping = false;
    m_thread = std::thread(
        [this, setUp = std::move(setUp), tearDown = std::move(tearDown)] { run(setUp, tearDown); });
    m_changed.wait(guard, [this] { return m_ready; });
}

void EventWorker::run(const Task &setUp, const Task &tearDown)
{
    // The loop first: it gives this thread the event dispatcher that sockets and timers need.
    QEventLoop loop;
    Anchor anchor([this] { runTasks(); });
    m_loop = &loop;
    // Without an application object there is no dispatcher and so no loop to run (fuzzers).
    const bool looping = QCoreApplication::instance() != nullptr;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_id = std::this_thread::get_id();
        m_anchor = &anchor;
        m_looping = looping;
    }
    if (setUp)
        setUp();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_ready = true;
    }
    m_changed.notify_all();
    if (looping) {
        loop.exec();
    } else {
        std::unique_lock<std::mutex> guard(m_lock);
        m_changed.wait(guard, [this] { return m_stopping; });
    }
    if (tearDown)
        tearDown();
    std::deque<Task> dropped;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_anchor = nullptr;
        dropped.swap(m_tasks);
    }
    dropped.clear(); // tasks never run; a caller waiting in call() is let go
    m_loop = nullptr;
    // The anchor's children die here, on the thread they lived on.
}

void EventWorker::runTasks()
{
    for (;;) {
        Task task;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (m_tasks.empty())
                return;
            task = std::move(m_tasks.front());
            m_tasks.pop_front();
        }
        task();
    }
}

// Under m_lock. One wake-up for a burst of tasks.
void EventWorker::queue(Task task)
{
    const bool wake = m_tasks.empty();
    m_tasks.push_back(std::move(task));
    if (wake)
        QMetaObject::invokeMethod(m_anchor, "runTasks", Qt::QueuedConnection);
}

void EventWorker::stop()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stopping = true;
        if (m_anchor && m_looping)
            queue([this] { m_loop->quit(); });
    }
    m_changed.notify_all();
    m_thread.join();
    m_id = std::thread::id();
}

bool EventWorker::isCurrent() const
{
    return std::this_thread::get_id() == m_id;
}

bool EventWorker::post(Task task)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_anchor || !m_looping || m_stopping)
        return false;
    queue(std::move(task));
    return true;
}

void EventWorker::call(Task task)
{
    if (isCurrent()) {
        task();
        return;
    }
    auto finished = std::make_shared<Finished>();
    {
        auto marker = std::make_shared<FinishedOnDestruction>(finished);
        if (!post([task = std::move(task), marker] { task(); }))
            return;
    }
    std::unique_lock<std::mutex> guard(finished->lock);
    finished->changed.wait(guard, [&] { return finished->done; });
}

} // namespace orba

#include "worker_thread.moc"
