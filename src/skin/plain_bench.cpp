#include "skin/plain_bench.h"

#include "skin/skin_report.h"

#include <cstdarg>

void tcPlainBench::fitHost()
{
    tcBenchObject *background = findObject("BKGRND");
    if (!m_host || !background)
        return;
    const QRect area = toWidgetRect(background->area());
    m_host->resize(area.right() + 1, area.bottom() + 1);
}

void tcPlainBench::invalidate(const QRect &rect, int)
{
    ++m_invalidates;
    if (m_host)
        m_host->update(toWidgetRect(rect));
}

void tcPlainBench::report(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    orba::skin::keepReport(m_messages, m_quiet, format, args);
    va_end(args);
}
