#include "link/worker_thread.h"

namespace orba {

namespace {
thread_local WorkerThread::Priority t_priority = WorkerThread::NormalPriority;
} // namespace

WorkerThread::~WorkerThread()
{
    wait();
}

void WorkerThread::start(Priority priority)
{
    m_running.store(true);
    m_thread = std::thread([this, priority] {
        setCurrentPriority(priority);
        run();
        m_running.store(false);
    });
}

void WorkerThread::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

void WorkerThread::setCurrentPriority(Priority priority)
{
    t_priority = priority;
}

WorkerThread::Priority WorkerThread::currentPriority()
{
    return t_priority;
}

} // namespace orba
