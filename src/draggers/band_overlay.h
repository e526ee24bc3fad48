// tcBandLevelOverlay: the compressor's band levels drawn across the graph's frequency axis: three
// traces of 500 samples, each band's level from one crossover to the next with a raised-cosine blend
// through every crossover. The compressor panel owns it and feeds it meter readings; its dragger
// paints it.
#pragma once

#include <QPolygon>
#include <QRgb>

#include <array>
#include <cstdint>
#include <vector>

class QPainter;
class tcGuiAxis;

class tcBandLevelOverlay
{
public:
    static constexpr int kSamples = 500;
    static constexpr int kTraces = 3;
    static constexpr int kBands = 5;
    static constexpr QRgb kColours[kTraces] = {0xFFFFFF00u, 0xFF00FFFFu, 0xFFFF0000u};

    tcBandLevelOverlay();

    // The plot's axes and size: levels go through the level axis, crossovers through the
    // frequency axis.
    void layout(const tcGuiAxis *frequency, const tcGuiAxis *level, int plotWidth, int plotHeight);
    void setCrossovers(const std::array<float, 4> &hz);
    const std::array<int, 4> &crossoverSamples() const { return m_cross; }
    int blendHalfWidth() const { return m_half; }

    // Five meter bytes per trace (255 is 0 dB, a step is a quarter dB); none leaves a trace.
    void update(const uint8_t *first, const uint8_t *second, const uint8_t *third);
    const std::vector<int> &trace(int t) const { return m_traces[size_t(t)]; }
    int levelRow(uint8_t m) const { return m_levels[m]; }

    void setShown(int t, bool on) { m_shown[size_t(t)] = on; }
    bool shown(int t) const { return m_shown[size_t(t)]; }

    void paint(QPainter &painter);

private:
    void placeCrossovers();
    void fill(std::vector<int> &trace, const uint8_t *bands) const;

    const tcGuiAxis *m_frequency = nullptr;
    int m_plotWidth = 0, m_plotHeight = 0;
    std::array<float, 4> m_hz{{80.0f, 200.0f, 800.0f, 3000.0f}};
    std::array<int, 4> m_cross{};
    int m_half = 0;
    std::vector<double> m_window;
    std::array<int, 256> m_levels{};
    std::array<std::vector<int>, kTraces> m_traces;
    std::array<bool, kTraces> m_shown{{true, true, false}};
    QPolygon m_line;
};
