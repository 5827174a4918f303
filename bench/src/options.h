// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The driver's command line.
//
//   tavoro-bench [--runs N] [--warmup N] [--clicks N] [--log-dir DIR]
//                --program [NAME=]KIND:PATH ... [--env NAME:VARIABLE=VALUE ...]
//
// KIND is floor, tavoro3 or tavoro2; NAME (default: KIND) labels the program in the report, so
// that two builds of one program can run side by side. The first floor program is the reference
// for the ratios. --env adds a variable to one program's environment (given after it), so that
// one build can also run side by side with itself under other settings.

#include "clickpoints.h"

#include <optional>
#include <string>
#include <vector>

namespace tavoro::bench {

struct ProgramSpec {
    std::string name;
    Kind kind = Kind::Floor;
    std::string path;
    std::vector<std::string> env; // VARIABLE=VALUE, added to the driver's environment
};

struct Options {
    int runs = 20;   // measured rounds; every program runs once per round
    int warmup = 1;  // rounds run first and not counted
    int clicks = 30; // key clicks per run, for the click-to-repaint figure
    std::string logDir; // each program's standard output and error go here; empty: discarded
    std::vector<ProgramSpec> programs;
    bool help = false;
};

struct ParsedOptions {
    Options options;
    std::string error; // empty when the command line is good
};

ParsedOptions parseOptions(const std::vector<std::string>& args);

// Parses "[NAME=]KIND:PATH"; none if malformed.
std::optional<ProgramSpec> parseProgramSpec(const std::string& text);

// `base` (a null-terminated VARIABLE=VALUE list, like environ) with the program's own variables
// added, each replacing any variable of the same name.
std::vector<std::string> environmentFor(const ProgramSpec& spec, const char* const* base);

std::string usage();

} // namespace tavoro::bench
