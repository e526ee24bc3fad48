// LinkWatch: notices a processor that is there but dead, on a clock its owner gives it. A login
// that gets no answer in time, or a link on which nothing arrives for too long while on line
// (meters alone come many times a second), is given up. The owner says which phase the link is in
// and how much it has heard so far; the watch only keeps the times.
#pragma once

#include <cstdint>

namespace orba {

struct LinkLimits
{
    int connectWaitMs = 5000; // one connect attempt, and the pause before the next after a loss
    int loginMs = 10000;      // for the answer to the login
    int silenceMs = 15000;    // on line with nothing heard from the processor
};

class LinkWatch
{
public:
    enum class Verdict { Alive, LoginUnanswered, Silent };

    void setLimits(const LinkLimits &limits) { m_limits = limits; }
    const LinkLimits &limits() const { return m_limits; }

    // Nothing to watch: no link yet, or the user is answering a login dialog.
    void idle() { m_phase = Phase::Idle; }
    // The login went out now; only its answer ends the wait.
    void loginSent(int64_t nowMs);
    // heard: a count that grows with everything received (frames and meters alike).
    // On line from now: something must be heard within the silence limit, again and again.
    void online(int64_t nowMs, uint64_t heard);

    // A verdict other than Alive is given once; the watch is idle after it.
    Verdict check(int64_t nowMs, uint64_t heard);

private:
    enum class Phase { Idle, Login, Online };

    LinkLimits m_limits;
    Phase m_phase = Phase::Idle;
    int64_t m_sinceMs = 0;
    uint64_t m_heard = 0;
};

} // namespace orba
