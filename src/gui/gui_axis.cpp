#include "gui/gui_axis.h"

#include <cmath>

namespace {
// Curve parameters may be anything a panel passes; pixels stay in a range an int holds.
int toInt(double v)
{
    if (std::isnan(v))
        return 0;
    if (v > 1e6)
        return 1000000;
    if (v < -1e6)
        return -1000000;
    return static_cast<int>(v);
}
} // namespace

tcGuiAxis::tcGuiAxis(const QString &title, int scale, int length, float minimum, float maximum,
                     bool horizontal)
    : m_title(title), m_scale(scale), m_length(length), m_min(minimum), m_max(maximum),
      m_horizontal(horizontal)
{
}

int tcGuiAxis::toPixel(float v) const
{
    const double L = m_length;
    if (m_scale == kLog) {
        if (v <= 0.0f || m_min <= 0.0f || m_max == m_min)
            return 0;
        return toInt(std::log10(static_cast<double>(v) / m_min) * L /
                         std::log10(static_cast<double>(m_max) / m_min) +
                     0.5);
    }
    if (m_max == m_min)
        return 0;
    const double along = (static_cast<double>(v) - m_min) / (static_cast<double>(m_max) - m_min) * L + 0.5;
    return m_horizontal ? toInt(along) : m_length - toInt(along);
}

float tcGuiAxis::toValue(int p) const
{
    if (m_length == 0)
        return m_min;
    const double L = m_length;
    if (m_scale == kLog)
        return static_cast<float>(m_min *
                                  std::pow(10.0, std::log10(static_cast<double>(m_max) / m_min) * p / L));
    const double f = m_horizontal ? p / L : (L - p) / L;
    return static_cast<float>(f * (static_cast<double>(m_max) - m_min) + m_min);
}

void tcGuiAxis::addTick(float value, int kind, const QString &label)
{
    m_ticks.push_back({toPixel(value), kind, label});
}
