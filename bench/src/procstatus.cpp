// SPDX-License-Identifier: GPL-3.0-or-later
#include "procstatus.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <string>

namespace tavoro::bench {

std::optional<long> vmRssKiB(std::string_view statusText)
{
    constexpr std::string_view Key = "VmRSS:";
    std::size_t at = 0;
    while (at < statusText.size()) {
        std::size_t end = statusText.find('\n', at);
        if (end == std::string_view::npos)
            end = statusText.size();
        std::string_view line = statusText.substr(at, end - at);
        at = end + 1;
        if (!line.starts_with(Key))
            continue;
        line.remove_prefix(Key.size());
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        long value = 0;
        const auto [rest, error] = std::from_chars(line.data(), line.data() + line.size(), value);
        if (error != std::errc() || std::string_view(rest, line.data() + line.size() - rest) != " kB")
            return std::nullopt;
        return value;
    }
    return std::nullopt;
}

std::optional<long> readVmRssKiB(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/status");
    if (!file)
        return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return vmRssKiB(text.str());
}

} // namespace tavoro::bench
