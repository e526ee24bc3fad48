// Records what a transport reports through its callbacks, for tests that wait on it.
#pragma once

#include "link/tcp.h"
#include "wait.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

namespace orba::test {

class LinkRecorder
{
public:
    TcpCallbacks callbacks()
    {
        TcpCallbacks c;
        c.context = this;
        c.on_data = &LinkRecorder::data;
        c.on_status = &LinkRecorder::status;
        return c;
    }

    std::vector<int> statuses() const
    {
        std::lock_guard<std::mutex> g(m_lock);
        return m_statuses;
    }
    std::vector<uint8_t> bytes() const
    {
        std::lock_guard<std::mutex> g(m_lock);
        return m_bytes;
    }
    int count(int status) const
    {
        const auto s = statuses();
        return int(std::count(s.begin(), s.end(), status));
    }
    bool waitFor(const std::function<bool()> &condition, int timeoutMs = 5000)
    {
        std::unique_lock<std::mutex> g(m_lock);
        return m_changed.wait_for(g, std::chrono::milliseconds(timeoutMs), condition);
    }
    bool waitStatusCount(int status, int n, int timeoutMs = 5000)
    {
        return waitFor([&] { return int(std::count(m_statuses.begin(), m_statuses.end(), status)) >= n; },
                       timeoutMs);
    }
    bool waitBytes(size_t n, int timeoutMs = 5000)
    {
        return waitFor([&] { return m_bytes.size() >= n; }, timeoutMs);
    }
    size_t chunks() const
    {
        std::lock_guard<std::mutex> g(m_lock);
        return m_chunks;
    }

    void recordStatus(int code)
    {
        {
            std::lock_guard<std::mutex> g(m_lock);
            m_statuses.push_back(code);
        }
        m_changed.notify_all();
    }

private:
    static void data(void *context, const uint8_t *bytes, size_t count)
    {
        auto *self = static_cast<LinkRecorder *>(context);
        {
            std::lock_guard<std::mutex> g(self->m_lock);
            self->m_bytes.insert(self->m_bytes.end(), bytes, bytes + count);
            ++self->m_chunks;
        }
        self->m_changed.notify_all();
    }
    static void status(void *context, int code) { static_cast<LinkRecorder *>(context)->recordStatus(code); }

    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<int> m_statuses;
    std::vector<uint8_t> m_bytes;
    size_t m_chunks = 0;
};

} // namespace orba::test
