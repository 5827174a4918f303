// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry: every input is a sequence of presses on a fresh calculator window model (see
// presschecker.h for how bytes become keys). A broken invariant is printed and aborts the run, so
// that libFuzzer saves the input as a crash artifact.

#include "presschecker.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (const auto failure = tavoro::fuzz::checkPresses(std::span(data, size))) {
        std::fprintf(stderr, "engine_fuzzer: invariant broken: %s\n", failure->c_str());
        std::abort();
    }
    return 0;
}
