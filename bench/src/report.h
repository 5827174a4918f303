// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The benchmark's results and the table it prints: one row per figure and program with median,
// minimum and maximum over the rounds, and the goal with its verdict where the figure has one.

#include "options.h"
#include "stats.h"

#include <string>
#include <vector>

namespace tavoro::bench {

struct ProgramResult {
    ProgramSpec spec;
    Samples mappedMs;        // exec to the first window mapped (the splash, for the programs)
    Samples paintedMs;       // exec to the first window's first repaint
    Samples startToMappedMs; // start-button click to the calculator window mapped
    Samples clickRepaintMs;  // key click to the first repaint: the median of one run's clicks
    Samples rssMiB;           // resident memory with the calculator (or floor) window shown
    std::vector<double> everyClickMs; // every key click of every round
    int failedRuns = 0;
    std::vector<std::string> failures; // the first few reasons
};

// A figure's goal: the median must be below (or, if inclusive, at most) the limit.
struct Goal {
    double limit = 0.0;
    bool inclusive = false;
    bool metBy(double median) const { return inclusive ? median <= limit : median < limit; }
};

// The goals, for the programs (never the floor).
namespace goals {
inline constexpr Goal SplashRatio{1.3, true};
inline constexpr Goal StartToMappedMs{16.0, false};
inline constexpr Goal ClickRepaintMs{1.0, false};
inline constexpr Goal ResidentMiB{35.0, false};
} // namespace goals

// The ratio of each program's first-window figure to the first floor program's, per round.
Samples splashRatios(const ProgramResult& program, const std::vector<ProgramResult>& all);

// The results table.
std::string formatTable(const std::vector<ProgramResult>& results, int clicksPerRun);

// One line per failed run, or nothing.
std::string formatFailures(const std::vector<ProgramResult>& results);

} // namespace tavoro::bench
