// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The benchmark proper: starts each program once per round, in an order that rotates from round
// to round, and measures it through the X server.

#include "options.h"
#include "report.h"
#include "xsession.h"

#include <ostream>
#include <vector>

namespace tavoro::bench {

// Runs `options.warmup` uncounted rounds, then `options.runs` measured ones; writes one line of
// progress per round to `progress`.
std::vector<ProgramResult> runBenchmark(XSession& x, const Options& options, std::ostream& progress);

} // namespace tavoro::bench
