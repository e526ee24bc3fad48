// Waiting on a socket in a way that the owner can cut short: every wait also watches a wake pipe,
// which the owner writes once when it wants its worker to stop.
#pragma once

namespace orba {

class WakePipe
{
public:
    WakePipe();
    ~WakePipe();
    WakePipe(const WakePipe &) = delete;
    WakePipe &operator=(const WakePipe &) = delete;

    void wake(); // stays readable from then on
    int fd() const { return m_fds[0]; }

private:
    int m_fds[2] = {-1, -1};
};

enum class WaitResult { Ready, Timeout, Woken, Failed };

// Waits until fd has one of events (POLLIN, POLLOUT; an error or hang-up counts as ready), the
// wake pipe is written, or timeoutMs has passed.
WaitResult waitFor(int fd, short events, int timeoutMs, const WakePipe &wake);
// The same over two sockets; which is set to the ready one (0 or 1, the first when both are).
WaitResult waitForEither(int first, int second, short events, int timeoutMs, const WakePipe &wake,
                         int &which);
// Sleeps timeoutMs unless woken; false when woken.
bool sleepUnlessWoken(int timeoutMs, const WakePipe &wake);

} // namespace orba
