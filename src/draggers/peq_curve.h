// The response of the four-section parametric equaliser, free of widgets: one peaking section's
// gain at a frequency, the column frequencies of a plot from 20 Hz to 20 kHz, and the section
// curves with their sum. Everything is computed in double precision.
#pragma once

#include <array>
#include <vector>

namespace orba::draggers {

struct PeqSection
{
    bool enabled = false;
    double frequency = 1000.0; // Hz
    double bandwidth = 1.0;    // octaves, as the parameter stores it
    double lift = 0.0;         // dB
};

constexpr int kPeqSections = 4;
using PeqSections = std::array<PeqSection, kPeqSections>;

// The gain in dB of one section at frequency f.
double peqSectionDb(double f, double f0, double bandwidth, double liftDb);

// The frequency of each of `columns` plot columns, logarithmically from 20 Hz to 20 kHz.
std::vector<double> peqColumnFrequencies(int columns);

struct PeqCurves
{
    std::array<std::vector<double>, kPeqSections> section; // dB per column, enabled or not
    std::vector<double> sum;                               // dB per column of the enabled sections
};

// Every section's curve, and their sum where the master and the section are both on.
void peqCompute(const PeqSections &sections, bool master, const std::vector<double> &columns, PeqCurves &out);

} // namespace orba::draggers
