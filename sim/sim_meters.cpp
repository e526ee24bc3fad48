#include "sim/sim_meters.h"

#include "link/wire.h"
#include "tables/globals_map.h"
#include "tables/settings_map.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace orba::sim {

namespace {

constexpr double TWO_PI = 6.283185307179586;

float clampf(float v, float lo, float hi)
{
    return std::min(std::max(v, lo), hi);
}

// Meter bytes count quarter decibels below full scale (levels) or of reduction (gain reduction).
uint8_t quarterDb(float db)
{
    return uint8_t(clampf(std::round(db * 4.0f), 0.0f, 255.0f));
}

double frac(double x)
{
    return x - std::floor(x);
}

// A kick drum at 126 beats a minute: a sharp rise and a quick decay, 0..1.
float kick(double t)
{
    return float(std::exp(-6.0 * frac(t * 2.1)));
}

// Graph point i (0..499) spreads over the frequency axis, 20 Hz to 20 kHz, logarithmically.
double pointFrequency(size_t i)
{
    return 20.0 * std::pow(1000.0, double(i) / double(GRAPH_POINTS - 1));
}

// Spectrum bytes: b = 255 (1 + dB / 50), 0 dBFS at the top; 0 is not drawn, so the floor is 1.
uint8_t spectrumByte(float db)
{
    return uint8_t(clampf(std::round(255.0f * (1.0f + db / 50.0f)), 1.0f, 255.0f));
}

const float AGC_OFFSET[5] = {1.5f, 0.5f, 0.0f, 1.0f, 2.0f};
const float COMP_OFFSET[5] = {2.0f, 1.0f, 0.0f, 0.5f, 1.5f};
const float MB_SHAPE[10] = {1.5f, 1.2f, 0.8f, 0.4f, 0.0f, 0.2f, 0.6f, 1.0f, 1.6f, 2.2f};
const double MB_CENTRE[10] = {50, 100, 180, 330, 600, 1100, 2000, 3600, 6500, 11000};

} // namespace

MeterInputs MeterInputs::from(const SETTINGS_MAP &live, const GLOBALS_MAP &globals)
{
    MeterInputs in;
    in.inputSource = int(live.getInt(256));
    in.graphSource = globals.get(G_MAP_STRM);
    in.oscilloscope = globals.getBool(G_OSCOPE);
    in.amBandwidth = live.getFloat(2048);
    in.mbDrive = live.getFloat(1281);
    in.agcIn = live.getBool(1024);
    in.compIn = live.getBool(1025);
    in.mbLimIn = live.getBool(1280);
    in.amLimIn = live.getBool(1537);
    in.hdLimIn = live.getBool(5633);
    return in;
}

MeterSynth::MeterSynth(uint32_t seed) : m_rng(seed ? seed : 1u) {}

float MeterSynth::noise()
{
    // xorshift32
    m_rng ^= m_rng << 13;
    m_rng ^= m_rng >> 17;
    m_rng ^= m_rng << 5;
    return float(m_rng) / 2147483648.0f - 1.0f;
}

float MeterSynth::programme(double t, int channel)
{
    const double phrase =
        4.0 * std::sin(TWO_PI * t / 19.0) + 2.5 * std::sin(TWO_PI * t / 7.3 + 0.4 * channel);
    // Every 23 seconds a second of quiet, as between songs.
    const double pause = frac(t / 23.0) < 0.045 ? -14.0 : 0.0;
    return float(-20.0 + phrase + 7.0 * kick(t) + pause);
}

void MeterSynth::fill(double t, const MeterInputs &in, uint8_t *d)
{
    const float dt = m_lastT < 0 ? 0.05f : clampf(float(t - m_lastT), 0.0f, 1.0f);
    m_lastT = t;
    m_drift = 0.85f * m_drift + 0.15f * 3.0f * noise();
    const float beat = kick(t);
    float level[2];
    for (int c = 0; c < 2; ++c)
        level[c] = clampf(programme(t, c) + m_drift + 0.7f * noise(), -63.0f, 0.0f);

    const float temperature =
        float(40.0 + 1.2 * std::sin(TWO_PI * t / 600.0) + 0.3 * std::sin(TWO_PI * t / 47.0)) +
        0.05f * noise();
    wire::putFloat(d + MB_TEMPERATURE, temperature);
    d[MB_ANALOG_STATUS] = in.inputSource == 0 ? INPUT_ACTIVE : INPUT_PRESENT;
    d[MB_AES_STATUS] = in.inputSource == 1 ? INPUT_ACTIVE : INPUT_PRESENT;

    fillLevels(t, dt, level, d);
    fillGainReduction(dt, level, beat, in, d);
    uint8_t *graph = d + MB_GRAPH;
    if (in.oscilloscope)
        fillWaveform(t, level, graph);
    else if (in.graphSource & 1)
        fillGainGraph(in, graph);
    else
        fillSpectrum(t, level, beat, in, graph);
}

void MeterSynth::fillLevels(double t, float dt, const float level[2], uint8_t *d)
{
    for (int c = 0; c < 2; ++c) {
        // Peaks hold for a second and a half, then fall at 12 dB a second.
        if (level[c] >= m_peak[c]) {
            m_peak[c] = level[c];
            m_peakAt[c] = t;
        } else if (t - m_peakAt[c] > 1.5) {
            m_peak[c] = std::max(level[c], m_peak[c] - 12.0f * dt);
        }
        d[MB_INPUT + c] = quarterDb(-level[c]);
        d[MB_INPUT + 2 + c] = quarterDb(-m_peak[c]);
        d[MB_INPUT + 4 + c] = level[c] > -1.0f ? 1 : 0;

        // The processed outputs sit just under full scale and barely move.
        const float out = clampf(-2.6f + 0.12f * (level[c] + 20.0f) + 0.3f * noise(), -12.0f, 0.0f);
        const float outPeak = clampf(out + 0.8f, -12.0f, 0.0f);
        d[MB_AM + c] = quarterDb(-out);
        d[MB_AM + 2 + c] = quarterDb(-outPeak);
        d[MB_AM + 4 + c] = quarterDb(-(out - 0.7f));
        d[MB_AM + 6 + c] = quarterDb(-(outPeak - 0.4f));
        d[MB_HD + c] = quarterDb(-(out - 1.0f));
        d[MB_HD + 2 + c] = quarterDb(-(outPeak - 1.0f));
    }
}

void MeterSynth::fillGainReduction(float dt, const float level[2], float beat, const MeterInputs &in,
                                   uint8_t *d)
{
    const float mean = 0.5f * (level[0] + level[1]);
    const float agcStep = std::min(1.0f, dt / 1.5f);
    for (int b = 0; b < 5; ++b) {
        const float target = clampf((mean + 24.0f) * 0.5f + AGC_OFFSET[b], 0.0f, 12.0f);
        m_agc[b] += (target - m_agc[b]) * agcStep;
        d[MB_AGC + b] = in.agcIn ? quarterDb(m_agc[b]) : 0;
        for (int c = 0; c < 2; ++c) {
            const float comp =
                clampf((level[c] + 22.0f) * 0.45f + COMP_OFFSET[b] + 1.5f * beat * (b == 0), 0.0f, 15.0f);
            d[(c == 0 ? MB_COMP_L : MB_COMP_R) + b] = in.compIn ? quarterDb(comp) : 0;
        }
    }
    const float drive = in.mbDrive / 60.0f;
    const float mbStep = std::min(1.0f, dt / 0.15f);
    for (int b = 0; b < 10; ++b) {
        const float target =
            clampf((mean + 14.0f) * 0.4f * drive + MB_SHAPE[b] + 2.0f * beat * (b < 2), 0.0f, 12.0f);
        m_mb[b] += (target - m_mb[b]) * mbStep;
        for (int c = 0; c < 2; ++c)
            d[MB_MB_LIM + 10 * c + b] = in.mbLimIn ? quarterDb(m_mb[b] + 0.3f * noise()) : 0;
    }
    for (int c = 0; c < 2; ++c) {
        d[MB_AMHD_LIM + c] = in.hdLimIn ? quarterDb((level[c] + 10.0f) * 0.5f) : 0;
        d[MB_AM_LIM + c] = in.amLimIn ? quarterDb((level[c] + 8.0f) * 0.6f) : 0;
    }
    d[MB_BASS_CLIP] = quarterDb(4.0f * beat - 1.0f);
}

namespace {

// What does not change from frame to frame, worked out once per graph point: the music's shape,
// where the kick drum and the hi-hat sit, and the point's place among the limiter's bands.
struct GraphPoint
{
    float frequency;
    float octaves; // above 20 Hz
    float shape;   // dBFS of the programme at rest
    float kick;    // weights of the drums
    float hat;
    int band; // multiband limiter band below the point, and the share of the next one
    float bandShare;
};

const std::array<GraphPoint, GRAPH_POINTS> &graphPoints()
{
    static const std::array<GraphPoint, GRAPH_POINTS> points = [] {
        std::array<GraphPoint, GRAPH_POINTS> p{};
        const double bandSpan = std::log2(MB_CENTRE[9] / MB_CENTRE[0]);
        for (size_t i = 0; i < GRAPH_POINTS; ++i) {
            const double f = pointFrequency(i);
            const double octaves = std::log2(f / 250.0);
            double db = -18.0;
            db += f < 45.0 ? -12.0 * std::log2(45.0 / f) : 0.0;            // below the music
            db += 5.0 * std::exp(-std::pow(std::log2(f / 70.0), 2) / 0.6); // the bass
            db += octaves > 0 ? -2.0 * octaves : 0.0;                      // falling highs
            db += f > 12000.0 ? -30.0 * std::log2(f / 12000.0) : 0.0;      // nothing up there
            const double bandPos = std::log2(f / MB_CENTRE[0]) / bandSpan * 9.0;
            const int band = std::clamp(int(bandPos), 0, 8);
            p[i] = {float(f),
                    float(std::log2(f / 20.0)),
                    float(db),
                    float(9.0 * std::exp(-std::pow(std::log2(f / 60.0), 2) / 0.5)),
                    float(5.0 * std::exp(-std::pow(std::log2(f / 8000.0), 2) / 0.4)),
                    band,
                    clampf(float(bandPos - band), 0.0f, 1.0f)};
        }
        return p;
    }();
    return points;
}

} // namespace

void MeterSynth::fillSpectrum(double t, const float level[2], float beat, const MeterInputs &in, uint8_t *g)
{
    const auto &points = graphPoints();
    const bool processed = in.graphSource >= 2;
    const float programmeShift = 0.5f * (level[0] + level[1]) + 16.0f;
    const float hat = float(std::exp(-8.0 * frac(t * 4.2 + 0.25)));
    const bool limited = processed && in.amBandwidth > 0;
    const float bandwidthOctaves = limited ? std::log2(in.amBandwidth / 20.0f) : 0.0f;
    for (size_t i = 0; i < GRAPH_POINTS; ++i) {
        const GraphPoint &p = points[i];
        float db = p.shape + beat * p.kick + hat * p.hat + programmeShift;
        if (processed) {
            db = -9.0f + 0.5f * (db + 12.0f); // denser and louder after processing
            if (limited && p.octaves > bandwidthOctaves)
                db -= 60.0f * (p.octaves - bandwidthOctaves);
        }
        // Bins flicker like an analyser's.
        m_jitter[i] = 0.55f * m_jitter[i] + 0.45f * 4.0f * noise();
        g[i] = spectrumByte(db + m_jitter[i]);
    }
    // The first byte's low bit clear marks spectrum data.
    g[0] = uint8_t(g[0] & 0xFE) ? uint8_t(g[0] & 0xFE) : 2;
}

void MeterSynth::fillGainGraph(const MeterInputs &in, uint8_t *g)
{
    const auto &points = graphPoints();
    for (size_t i = 0; i < GRAPH_POINTS; ++i) {
        // Reduction across frequency: the multiband limiter's bands, joined smoothly.
        const GraphPoint &p = points[i];
        float gr = in.mbLimIn ? m_mb[p.band] * (1 - p.bandShare) + m_mb[p.band + 1] * p.bandShare : 0.0f;
        if (in.compIn)
            gr += 0.5f * m_agc[std::min<size_t>(4, i / 100)];
        // Signed quarter decibels: 0 is no reduction (the middle), reduction goes down.
        g[i] = uint8_t(int8_t(-clampf(std::round(gr * 4.0f), 0.0f, 128.0f)));
    }
    g[0] |= 1; // gain-reduction data
}

void MeterSynth::fillWaveform(double t, const float level[2], uint8_t *g)
{
    // 25 ms of the left channel, sampled at 20 kHz.
    const float amplitude = clampf(std::pow(10.0f, level[0] / 20.0f) * 2.5f, 0.02f, 1.0f);
    const double phase = TWO_PI * frac(t * 0.37);
    for (size_t i = 0; i < GRAPH_POINTS; ++i) {
        const double tau = double(i) / 20000.0;
        const double w = 0.6 * std::sin(TWO_PI * 110.0 * tau + phase) +
                         0.3 * std::sin(TWO_PI * 220.0 * tau + 2 * phase) +
                         0.15 * std::sin(TWO_PI * 660.0 * tau + 3 * phase);
        const float s = clampf(float(w) * amplitude * 127.0f + 4.0f * noise(), -128.0f, 127.0f);
        g[i] = uint8_t(int8_t(std::lround(s)));
    }
    g[0] |= 1; // drawn with the signed rows, centred
}

} // namespace orba::sim
