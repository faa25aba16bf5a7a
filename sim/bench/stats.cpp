#include "sim/bench/stats.h"

#include <algorithm>
#include <cmath>

namespace sim {

double Percentile(std::vector<double> samples, double fraction) {
    if (samples.empty()) {
        return 0;
    }
    std::sort(samples.begin(), samples.end());
    double rank = std::clamp(fraction, 0.0, 1.0) * static_cast<double>(samples.size() - 1);
    auto below = static_cast<std::size_t>(std::floor(rank));
    std::size_t above = std::min(below + 1, samples.size() - 1);
    double weight = rank - static_cast<double>(below);
    return samples[below] + (samples[above] - samples[below]) * weight;
}

Spread SpreadOf(const std::vector<double>& samples) {
    return {Percentile(samples, 0.5), Percentile(samples, 0.99), samples.size()};
}

} // namespace sim
