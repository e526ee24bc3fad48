#include "link/worker_thread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>

#include <memory>

namespace orba {

namespace {

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
    QObject anchor;
    m_loop = &loop;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_id = std::this_thread::get_id();
        m_anchor = &anchor;
    }
    if (setUp)
        setUp();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_ready = true;
    }
    m_changed.notify_all();
    // Without an application object there is no dispatcher and so no loop to run (fuzzers).
    if (QCoreApplication::instance()) {
        loop.exec();
    } else {
        std::unique_lock<std::mutex> guard(m_lock);
        m_changed.wait(guard, [this] { return m_stopping; });
    }
    if (tearDown)
        tearDown();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_anchor = nullptr;
    }
    m_loop = nullptr;
    // The anchor goes first: its tasks still queued are dropped with it, and its children die here.
}

void EventWorker::stop()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stopping = true;
        if (m_anchor)
            QMetaObject::invokeMethod(
                m_anchor, [this] { m_loop->quit(); }, Qt::QueuedConnection);
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
    if (!m_anchor || m_stopping)
        return false;
    QMetaObject::invokeMethod(m_anchor, std::move(task), Qt::QueuedConnection);
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
