#include "link/worker_thread.h"

namespace orba {

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

} // namespace orba
