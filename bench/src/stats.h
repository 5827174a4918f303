// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Median, minimum and maximum of a figure over the rounds of a benchmark, and the per-round ratio
// of one program's figure to the floor's. A round whose measurement failed has no value.

#include <cstddef>
#include <optional>
#include <vector>

namespace tavoro::bench {

using Samples = std::vector<std::optional<double>>; // one entry per round

struct Summary {
    double median = 0.0;
    double min = 0.0;
    double max = 0.0;
    std::size_t count = 0; // rounds with a value
};

// The median of an even count is the mean of the two middle values.
double median(std::vector<double> values);

// Summary of the rounds that have a value; none if no round has one.
std::optional<Summary> summarize(const Samples& samples);

// Per round, numerator / denominator; a round lacks a value if either side lacks one or the
// denominator is not positive. The result has as many rounds as the longer input.
Samples ratios(const Samples& numerator, const Samples& denominator);

} // namespace tavoro::bench
