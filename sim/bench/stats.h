#pragma once
// The spread of a benchmark's timings.
#include <cstddef>
#include <vector>

namespace sim {

struct Spread {
    double median = 0;
    double p99 = 0;
    std::size_t samples = 0;
};

// The value below which the fraction (0 to 1) of the samples lies, interpolated linearly between
// the two nearest ranks; 0 for no samples.
double Percentile(std::vector<double> samples, double fraction);

// Median and 99th percentile.
Spread SpreadOf(const std::vector<double>& samples);

} // namespace sim
