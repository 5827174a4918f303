// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Resident memory of a process, from the VmRSS line of /proc/PID/status.

#include <optional>
#include <string_view>
#include <sys/types.h>

namespace tavoro::bench {

// VmRSS in KiB from the text of a status file; none if the line is missing or malformed.
std::optional<long> vmRssKiB(std::string_view statusText);

// VmRSS of a running process in KiB; none if it cannot be read.
std::optional<long> readVmRssKiB(pid_t pid);

// KiB to MiB (2^20 bytes), the unit ps and top count resident memory in.
constexpr double kibToMiB(long kib) { return static_cast<double>(kib) / 1024.0; }

} // namespace tavoro::bench
