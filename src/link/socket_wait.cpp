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

// The sockets come first in fds, the wake pipe last; which is set to the first ready socket.
WaitResult pollSockets(pollfd *fds, nfds_t sockets, int timeoutMs, int &which)
{
    const int r = pollFor(fds, sockets + 1, timeoutMs);
    if (r < 0)
        return WaitResult::Failed;
    if (fds[sockets].revents)
        return WaitResult::Woken;
    if (r == 0)
        return WaitResult::Timeout;
    which = 0;
    while (nfds_t(which) + 1 < sockets && !fds[which].revents)
        ++which;
    return fds[which].revents & POLLNVAL ? WaitResult::Failed : WaitResult::Ready;
}

} // namespace

WaitResult waitFor(int fd, short events, int timeoutMs, const WakePipe &wake)
{
    pollfd fds[2] = {{fd, events, 0}, {wake.fd(), POLLIN, 0}};
    int which = 0;
    return pollSockets(fds, 1, timeoutMs, which);
}

WaitResult waitForEither(int first, int second, short events, int timeoutMs, const WakePipe &wake, int &which)
{
    pollfd fds[3] = {{first, events, 0}, {second, events, 0}, {wake.fd(), POLLIN, 0}};
    return pollSockets(fds, 2, timeoutMs, which);
}

bool sleepUnlessWoken(int timeoutMs, const WakePipe &wake)
{
    if (timeoutMs <= 0)
        return true;
    pollfd fd = {wake.fd(), POLLIN, 0};
    return pollFor(&fd, 1, timeoutMs) == 0;
}

} // namespace orba
