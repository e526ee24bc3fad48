// MeterSynth: the meter body (bytes 40-603 of the meter datagram) of a processor playing music:
// programme levels and peaks that pulse and breathe, gain reduction that follows the level block by
// block, a unit temperature around 40 C, input status codes, and 500 graph bytes shaped like a music
// spectrum (or gain reduction across frequency, or a waveform, as the graph source asks). Pure code:
// the time is given, the noise comes from a seeded generator, so tests get repeatable bodies.
#pragma once

#include "link/meter_datagram.h"

#include <cstddef>
#include <cstdint>

class SETTINGS_MAP;
class GLOBALS_MAP;

namespace orba::sim {

// Offsets of the meter body in the datagram, as the simulator fills it.
enum MeterBodyOffset : size_t {
    MB_TEMPERATURE = 40, // float, degrees Celsius
    MB_ANALOG_STATUS = 44,
    MB_AES_STATUS = 45,
    MB_INPUT = 46,    // levels L R, peaks L R, overload flags L R
    MB_AM = 52,       // levels L R, peaks L R; then the negative-peak pair: levels, peaks
    MB_HD = 60,       // levels L R, peaks L R
    MB_COMP_L = 64,   // five compressor bands, left
    MB_AGC = 69,      // five AGC bands
    MB_COMP_R = 74,   // five compressor bands, right
    MB_AMHD_LIM = 79, // L R
    MB_AM_LIM = 81,   // L R
    MB_BASS_CLIP = 83,
    MB_MB_LIM = 84, // ten multiband limiter bands, left, then ten right
    MB_GRAPH = 104, // 500 bytes
};
constexpr size_t GRAPH_POINTS = 500;

// Status codes of the two inputs: the selected one is in use, both carry signal.
// 0 and 1 are the healthy codes (lit green on the surface); 2 and 3 report a failed input.
enum InputStatus : uint8_t { INPUT_ACTIVE = 0, INPUT_PRESENT = 1 };

struct MeterInputs
{
    int inputSource = 0;       // "Input Source": 0 analog, 1 AES
    int graphSource = 0;       // global "MAP_STRM": 0/1 input, 2/3 processed output; odd: gain reduction
    bool oscilloscope = false; // global "OSCOPE  "
    float amBandwidth = 10000; // "AM Bandwidth" in Hz; 0 for no limit
    float mbDrive = 60;        // "MB Lim Drive"
    bool agcIn = true, compIn = true, mbLimIn = true, amLimIn = true, hdLimIn = true;

    static MeterInputs from(const SETTINGS_MAP &live, const GLOBALS_MAP &globals);
};

class MeterSynth
{
public:
    explicit MeterSynth(uint32_t seed = 0x2545F491u);

    // Writes bytes 40-603 of a datagram for the moment t (seconds, rising from call to call).
    void fill(double t, const MeterInputs &in, uint8_t *datagram);

    // Programme level of a channel at t in dBFS, before noise (for tests of the shape).
    static float programme(double t, int channel);

private:
    float noise(); // uniform in -1..1
    void fillLevels(double t, float dt, const float level[2], uint8_t *d);
    void fillGainReduction(float dt, const float level[2], float beat, const MeterInputs &in, uint8_t *d);
    void fillSpectrum(double t, const float level[2], float beat, const MeterInputs &in, uint8_t *g);
    void fillGainGraph(const MeterInputs &in, uint8_t *g);
    void fillWaveform(double t, const float level[2], uint8_t *g);

    uint32_t m_rng;
    double m_lastT = -1;
    float m_drift = 0;
    float m_peak[2] = {-60, -60};
    double m_peakAt[2] = {0, 0};
    float m_agc[5] = {};
    float m_mb[10] = {};
    float m_jitter[GRAPH_POINTS] = {};
};

} // namespace orba::sim
