#include "draggers/band_overlay.h"

#include "gui/gui_axis.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

constexpr QRgb tcBandLevelOverlay::kColours[];

tcBandLevelOverlay::tcBandLevelOverlay()
{
    for (auto &t : m_traces)
        t.assign(kSamples, 0);
    m_window.assign(1, 0.0);
    placeCrossovers();
}

void tcBandLevelOverlay::layout(const tcGuiAxis *frequency, const tcGuiAxis *level, int plotWidth,
                                int plotHeight)
{
    m_frequency = frequency;
    m_plotWidth = plotWidth;
    m_plotHeight = plotHeight;
    for (int m = 0; m < 256; ++m)
        m_levels[size_t(m)] = level ? level->toPixel(float(m - 255) * 0.25f) : plotHeight;
    m_half = plotHeight / 32;
    m_window.resize(size_t(2 * m_half + 1));
    for (int i = 0; i <= 2 * m_half; ++i)
        m_window[size_t(i)] = m_half > 0 ? 0.5 - 0.5 * std::cos(M_PI * i / (2.0 * m_half)) : 0.0;
    m_line.resize(kSamples);
    for (int s = 0; s < kSamples; ++s)
        m_line[s].setX(s * plotWidth / kSamples);
    placeCrossovers();
}

void tcBandLevelOverlay::setCrossovers(const std::array<float, 4> &hz)
{
    m_hz = hz;
    placeCrossovers();
}

void tcBandLevelOverlay::placeCrossovers()
{
    for (size_t k = 0; k < m_hz.size(); ++k) {
        m_cross[k] = m_frequency && m_plotWidth > 0 ? m_frequency->toPixel(m_hz[k]) * kSamples / m_plotWidth
                                                    : int(k + 1) * kSamples / 5;
    }
}

void tcBandLevelOverlay::fill(std::vector<int> &trace, const uint8_t *bands) const
{
    int level[kBands];
    for (int b = 0; b < kBands; ++b)
        level[b] = m_levels[bands[b]];
    int pos = 0;
    auto put = [&trace](int s, int v) {
        if (s >= 0 && s < kSamples)
            trace[size_t(s)] = v;
    };
    for (int k = 0; k < 4; ++k) {
        const int start = m_cross[size_t(k)] - m_half;
        for (; pos < start && pos < kSamples; ++pos)
            trace[size_t(pos)] = level[k];
        const int lower = level[k], upper = level[k + 1];
        for (int i = 0; i <= 2 * m_half; ++i)
            put(start + i, lower + int((upper - lower) * m_window[size_t(i)]));
        pos = std::max(pos, start + 2 * m_half + 1);
    }
    for (; pos < kSamples; ++pos)
        trace[size_t(pos)] = level[kBands - 1];
}

void tcBandLevelOverlay::update(const uint8_t *first, const uint8_t *second, const uint8_t *third)
{
    const uint8_t *bands[kTraces] = {first, second, third};
    for (int t = 0; t < kTraces; ++t) {
        if (bands[t])
            fill(m_traces[size_t(t)], bands[t]);
    }
}

void tcBandLevelOverlay::paint(QPainter &painter)
{
    if (m_line.size() != kSamples)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int t = 0; t < kTraces; ++t) {
        if (!m_shown[size_t(t)])
            continue;
        const std::vector<int> &trace = m_traces[size_t(t)];
        QPoint *points = m_line.data();
        for (int s = 0; s < kSamples; ++s)
            points[s].setY(trace[size_t(s)]);
        painter.setPen(QPen(QColor::fromRgba(kColours[t]), 1));
        painter.drawPolyline(m_line);
    }
    painter.restore();
}
