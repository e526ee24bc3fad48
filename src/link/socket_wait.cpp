#include "link/socket_wait.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace orba {

WakePipe::WakePipe()
{
    if (::pipe2(m_fds, O_NONBLOCK | O_CLOEXEC) != 0)
        m_fds[0] = m_fds[1] = -1;
}

WakePipe::~WakePipe()
{
    for (int fd : m_fds)
        if (fd >= 0)
            ::close(fd);
}

void WakePipe::wake()
{
    const char byte = 1;
    if (m_fds[1] >= 0) {
        [[maybe_unused]] const ssize_t n = ::write(m_fds[1], &byte, 1);
    }
}

namespace {

// poll() with the time left recomputed after an interruption.
int pollFor(pollfd *fds, nfds_t count, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const int r = ::poll(fds, count, timeoutMs);
        if (r >= 0 || errno != EINTR)
            return r;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        timeoutMs = left.count() > 0 ? int(left.count()) : 0;
    }
}

} // namespace

WaitResult waitFor(int fd, short events, int timeoutMs, const WakePipe &wake)
{
    pollfd fds[2] = {{fd, events, 0}, {wake.fd(), POLLIN, 0}};
    const int r = pollFor(fds, 2, timeoutMs);
    if (r < 0)
        return WaitResult::Failed;
    if (fds[1].revents)
        return WaitResult::Woken;
    if (r == 0)
        return WaitResult::Timeout;
    if (fds[0].revents & POLLNVAL)
        return WaitResult::Failed;
    return WaitResult::Ready;
}

WaitResult waitForEither(int first, int second, short events, int timeoutMs, const WakePipe &wake, int &which)
{
    pollfd fds[3] = {{first, events, 0}, {second, events, 0}, {wake.fd(), POLLIN, 0}};
    const int r = pollFor(fds, 3, timeoutMs);
    if (r < 0)
        return WaitResult::Failed;
    if (fds[2].revents)
        return WaitResult::Woken;
    if (r == 0)
        return WaitResult::Timeout;
    which = fds[0].revents ? 0 : 1;
    if (fds[which].revents & POLLNVAL)
        return WaitResult::Failed;
    return WaitResult::Ready;
}

bool sleepUnlessWoken(int timeoutMs, const WakePipe &wake)
{
    if (timeoutMs <= 0)
        return true;
    pollfd fd = {wake.fd(), POLLIN, 0};
    return pollFor(&fd, 1, timeoutMs) == 0;
}

} // namespace orba
