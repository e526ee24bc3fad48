#include "draggers/peq_curve.h"

#include <cmath>
#include <complex>

namespace orba::draggers {

double peqSectionDb(double f, double f0, double bandwidth, double liftDb)
{
    if (f <= 0.0 || f0 <= 0.0 || bandwidth <= 0.0)
        return 0.0;
    const double a = std::exp(liftDb * std::log(10.0) / 20.0);
    // This makes a cut the exact inverse of the boost of the same size and bandwidth.
    const double x = liftDb < 0.0 ? a / bandwidth : 1.0 / bandwidth;
    const double r = f / f0;
    const double u = (r * r - 1.0) / r;
    const double m = 1.0 / std::sqrt(1.0 + x * x * u * u);
    const double phi = std::atan(-u * x);
    const std::complex<double> h = 1.0 + (a - 1.0) * m * std::complex<double>(std::cos(phi), std::sin(phi));
    return 20.0 * std::log10(std::abs(h));
}

std::vector<double> peqColumnFrequencies(int columns)
{
    std::vector<double> f;
    if (columns <= 0)
        return f;
    f.reserve(size_t(columns));
    // Three decades over the plot.
    const double q = columns > 1 ? std::pow(1000.0, 1.0 / double(columns - 1)) : 1.0;
    double hz = 20.0;
    for (int j = 0; j < columns; ++j) {
        f.push_back(hz);
        hz *= q;
    }
    return f;
}

void peqCompute(const PeqSections &sections, bool master, const std::vector<double> &columns, PeqCurves &out)
{
    const size_t n = columns.size();
    out.sum.assign(n, 0.0);
    for (int s = 0; s < kPeqSections; ++s) {
        const PeqSection &p = sections[size_t(s)];
        std::vector<double> &curve = out.section[size_t(s)];
        curve.resize(n);
        const bool summed = master && p.enabled;
        for (size_t j = 0; j < n; ++j) {
            curve[j] = peqSectionDb(columns[j], p.frequency, p.bandwidth, p.lift);
            if (summed)
                out.sum[j] += curve[j];
        }
    }
}

} // namespace orba::draggers
