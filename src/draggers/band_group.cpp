#include "draggers/band_group.h"

#include <algorithm>

namespace orba::draggers {

BandGroup::BandGroup(int count, Sink &sink)
    : m_sink(sink), m_values(size_t(count), 0.0), m_pressValues(size_t(count), 0.0),
      m_pixels(size_t(count), 0), m_pressPixels(size_t(count), 0), m_independent(size_t(count), 0),
      m_bandX(size_t(count), 0)
{
}

void BandGroup::setBottom(int bottom)
{
    m_bottom = std::max(bottom, 0);
}

int BandGroup::bandAt(int x) const
{
    const int n = count();
    if (m_threeBand) {
        for (int third = 0; third < 3; ++third) {
            if (x >= third * m_plotWidth / 3 && x < (third + 1) * m_plotWidth / 3)
                return 2 * third;
        }
        return n - 1;
    }
    for (int i = 0; i < n; ++i) {
        const int lo = i == 0 ? 0 : (m_bandX[size_t(i - 1)] + m_bandX[size_t(i)]) / 2;
        const int hi = i == n - 1 ? m_plotWidth : (m_bandX[size_t(i)] + m_bandX[size_t(i + 1)]) / 2;
        if (x >= lo && x < hi)
            return i;
    }
    return n - 1;
}

void BandGroup::setCurrent(int band)
{
    if (band >= 0 && band < count())
        m_current = band;
}

void BandGroup::setValue(int band, double value)
{
    if (band < 0 || band >= count())
        return;
    const double q = m_sink.valueOfIndex(m_sink.indexOfValue(value));
    m_values[size_t(band)] = q;
    m_pixels[size_t(band)] = std::clamp(m_sink.pixelOfValue(q), 0, m_bottom);
    m_pressValues[size_t(band)] = m_values[size_t(band)];
    m_pressPixels[size_t(band)] = m_pixels[size_t(band)];
}

void BandGroup::relayout()
{
    for (int b = 0; b < count(); ++b)
        m_pixels[size_t(b)] = std::clamp(m_sink.pixelOfValue(m_values[size_t(b)]), 0, m_bottom);
    takePressCopies();
}

void BandGroup::takePressCopies()
{
    m_pressValues = m_values;
    m_pressPixels = m_pixels;
}

bool BandGroup::place(int band, int pixel)
{
    const size_t j = size_t(band);
    pixel = std::clamp(pixel, 0, m_bottom);
    bool changed = pixel != m_pixels[j];
    m_pixels[j] = pixel;
    const double q = m_sink.valueOfIndex(m_sink.indexOfValue(m_sink.valueAtPixel(pixel)));
    if (q != m_values[j]) {
        m_values[j] = q;
        m_sink.barSet(band, m_sink.indexOfValue(q));
        changed = true;
    }
    return changed;
}

bool BandGroup::follow(int b, int dir, int D)
{
    // The run of grouped bands on this side, and whether an independent band ends it.
    int n = 0;
    bool separated = false;
    for (int j = b + dir; j >= 0 && j < count(); j += dir) {
        if (m_independent[size_t(j)]) {
            separated = true;
            break;
        }
        ++n;
    }
    bool changed = false;
    for (int k = 1; k <= n; ++k) {
        int offset = D;
        if (m_mode == kProportional && separated)
            offset = int((n + 1 - k) * double(D) / (n + 1) + 0.5);
        const int j = b + dir * k;
        changed |= place(j, m_pressPixels[size_t(j)] + offset);
    }
    return changed;
}

bool BandGroup::moveCurrent(int d)
{
    const int b = m_current;
    bool changed = place(b, m_pixels[size_t(b)] + d);
    if (m_independent[size_t(b)])
        return changed;
    const int D = m_pixels[size_t(b)] - m_pressPixels[size_t(b)];
    changed |= follow(b, -1, D);
    changed |= follow(b, +1, D);
    return changed;
}

bool BandGroup::flatten()
{
    const int b = m_current;
    if (m_independent[size_t(b)])
        return false;
    const double v = m_values[size_t(b)];
    const uint32_t index = m_sink.indexOfValue(v);
    for (int dir : {-1, +1}) {
        for (int j = b + dir; j >= 0 && j < count() && !m_independent[size_t(j)]; j += dir) {
            m_values[size_t(j)] = v;
            m_pixels[size_t(j)] = std::clamp(m_sink.pixelOfValue(v), 0, m_bottom);
            m_sink.barSet(j, index);
        }
    }
    takePressCopies();
    return true;
}

bool BandGroup::group()
{
    const int b = m_current;
    if (!m_independent[size_t(b)])
        return false;
    // One independent band stays between the new group and a neighbouring group.
    for (int j = b; j >= 0; --j) {
        if (!m_independent[size_t(j)] || (j > 0 && !m_independent[size_t(j - 1)]))
            break;
        m_independent[size_t(j)] = 0;
    }
    for (int j = b + 1; j < count(); ++j) {
        if (!m_independent[size_t(j)] || (j + 1 < count() && !m_independent[size_t(j + 1)]))
            break;
        m_independent[size_t(j)] = 0;
    }
    return true;
}

bool BandGroup::ungroup()
{
    const int b = m_current;
    if (m_independent[size_t(b)])
        return false;
    int lo = b, hi = b;
    while (lo > 0 && !m_independent[size_t(lo - 1)])
        --lo;
    while (hi + 1 < count() && !m_independent[size_t(hi + 1)])
        ++hi;
    for (int j = lo; j <= hi; ++j)
        m_independent[size_t(j)] = 1;
    return true;
}

void BandGroup::groupAll()
{
    std::fill(m_independent.begin(), m_independent.end(), uint8_t(0));
}

void BandGroup::ungroupAll()
{
    std::fill(m_independent.begin(), m_independent.end(), uint8_t(1));
}

} // namespace orba::draggers
