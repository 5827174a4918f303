// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats.h"

#include <algorithm>
#include <stdexcept>

namespace tavoro::bench {

double median(std::vector<double> values)
{
    if (values.empty())
        throw std::invalid_argument("median of no values");
    const std::size_t mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid), values.end());
    const double upper = values[mid];
    if (values.size() % 2 == 1)
        return upper;
    const double lower = *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid));
    return (lower + upper) / 2.0;
}

std::optional<Summary> summarize(const Samples& samples)
{
    std::vector<double> values;
    for (const auto& sample : samples) {
        if (sample)
            values.push_back(*sample);
    }
    if (values.empty())
        return std::nullopt;
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    return Summary{median(values), *lo, *hi, values.size()};
}

Samples ratios(const Samples& numerator, const Samples& denominator)
{
    Samples result(std::max(numerator.size(), denominator.size()));
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (i < numerator.size() && i < denominator.size() && numerator[i] && denominator[i]
            && *denominator[i] > 0.0)
            result[i] = *numerator[i] / *denominator[i];
    }
    return result;
}

} // namespace tavoro::bench
