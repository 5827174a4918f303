// SPDX-License-Identifier: GPL-3.0-or-later
// tavoro-bench: the start-up and footprint benchmark's driver. Run it on a private X server
// without a window manager; bench/run.sh builds everything and starts one.

#include "bench.h"
#include "options.h"
#include "report.h"
#include "xsession.h"

#include <cstdio>
#include <iostream>
#include <time.h>

using namespace tavoro::bench;

int main(int argc, char* argv[])
{
    const ParsedOptions parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.options.help) {
        std::cout << usage();
        return 0;
    }
    if (!parsed.error.empty()) {
        std::cerr << "tavoro-bench: " << parsed.error << '\n' << usage();
        return 2;
    }
    const Options& options = parsed.options;

    try {
        XSession x;
        timespec resolution{};
        clock_getres(CLOCK_MONOTONIC, &resolution);
        const double roundTrip = x.damageRoundTripMs(50);

        const std::vector<ProgramResult> results = runBenchmark(x, options, std::cerr);

        std::printf("Rounds: %d measured after %d warm-up, programs interleaved (order rotates each round).\n",
            options.runs, options.warmup);
        std::printf("Method: X events on the root window (MapNotify) and DAMAGE events on the program's\n"
                    "windows, waited for with poll(); clicks through XTEST; times on CLOCK_MONOTONIC\n"
                    "(resolution %ld ns). Event latency (drawing request to its DAMAGE event back, own\n"
                    "window): median %.3f ms. Memory: VmRSS in MiB (2^20 bytes, as ps and top count it).\n\n",
            resolution.tv_nsec, roundTrip);
        std::cout << formatTable(results, options.clicks);
        const std::string failures = formatFailures(results);
        if (!failures.empty())
            std::cout << '\n' << failures;
        return failures.empty() ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << "tavoro-bench: " << error.what() << '\n';
        return 1;
    }
}
