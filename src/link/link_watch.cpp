#include "link/link_watch.h"

namespace orba {

void LinkWatch::loginSent(int64_t nowMs)
{
    m_phase = Phase::Login;
    m_sinceMs = nowMs;
}

void LinkWatch::online(int64_t nowMs, uint64_t heard)
{
    m_phase = Phase::Online;
    m_sinceMs = nowMs;
    m_heard = heard;
}

LinkWatch::Verdict LinkWatch::check(int64_t nowMs, uint64_t heard)
{
    switch (m_phase) {
    case Phase::Idle:
        return Verdict::Alive;
    case Phase::Login:
        if (nowMs - m_sinceMs < m_limits.loginMs)
            return Verdict::Alive;
        m_phase = Phase::Idle;
        return Verdict::LoginUnanswered;
    case Phase::Online:
        break;
    }
    if (heard != m_heard) {
        m_heard = heard;
        m_sinceMs = nowMs;
        return Verdict::Alive;
    }
    if (nowMs - m_sinceMs < m_limits.silenceMs)
        return Verdict::Alive;
    m_phase = Phase::Idle;
    return Verdict::Silent;
}

} // namespace orba
