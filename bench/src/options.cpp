// SPDX-License-Identifier: GPL-3.0-or-later
#include "options.h"

#include <algorithm>
#include <charconv>

namespace tavoro::bench {

namespace {

std::optional<Kind> parseKind(std::string_view text)
{
    for (Kind kind : {Kind::Floor, Kind::Tavoro3, Kind::Tavoro2}) {
        if (text == kindName(kind))
            return kind;
    }
    return std::nullopt;
}

std::optional<int> parseCount(const std::string& text, int minimum)
{
    int value = 0;
    const auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || rest != text.data() + text.size() || value < minimum)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<ProgramSpec> parseProgramSpec(const std::string& text)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon + 1 == text.size())
        return std::nullopt;
    std::string head = text.substr(0, colon);
    std::string name;
    if (const std::size_t equals = head.find('='); equals != std::string::npos) {
        name = head.substr(0, equals);
        head = head.substr(equals + 1);
        if (name.empty())
            return std::nullopt;
    }
    const std::optional<Kind> kind = parseKind(head);
    if (!kind)
        return std::nullopt;
    return ProgramSpec{name.empty() ? std::string(kindName(*kind)) : name, *kind, text.substr(colon + 1), {}};
}

ParsedOptions parseOptions(const std::vector<std::string>& args)
{
    ParsedOptions parsed;
    Options& options = parsed.options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") {
            options.help = true;
            return parsed;
        }
        if (i + 1 >= args.size()) {
            parsed.error = "missing value after " + arg;
            return parsed;
        }
        const std::string& value = args[++i];
        if (arg == "--runs" || arg == "--warmup" || arg == "--clicks") {
            const std::optional<int> count = parseCount(value, arg == "--runs" ? 1 : 0);
            if (!count) {
                parsed.error = "bad count for " + arg + ": " + value;
                return parsed;
            }
            (arg == "--runs" ? options.runs : arg == "--warmup" ? options.warmup : options.clicks) = *count;
        } else if (arg == "--log-dir") {
            options.logDir = value;
        } else if (arg == "--program") {
            std::optional<ProgramSpec> spec = parseProgramSpec(value);
            if (!spec) {
                parsed.error = "bad program (want [NAME=]floor|tavoro3|tavoro2:PATH): " + value;
                return parsed;
            }
            for (const ProgramSpec& other : options.programs) {
                if (other.name == spec->name) {
                    parsed.error = "two programs named " + spec->name;
                    return parsed;
                }
            }
            options.programs.push_back(std::move(*spec));
        } else if (arg == "--env") {
            const std::size_t colon = value.find(':');
            const std::size_t equals = value.find('=', colon == std::string::npos ? 0 : colon);
            ProgramSpec* program = nullptr;
            if (colon != std::string::npos) {
                for (ProgramSpec& spec : options.programs) {
                    if (spec.name == value.substr(0, colon))
                        program = &spec;
                }
            }
            if (!program || equals == std::string::npos || equals == colon + 1) {
                parsed.error = "bad --env (want NAME:VARIABLE=VALUE after --program NAME...): " + value;
                return parsed;
            }
            program->env.push_back(value.substr(colon + 1));
        } else {
            parsed.error = "unknown option " + arg;
            return parsed;
        }
    }
    bool hasFloor = false;
    for (const ProgramSpec& spec : options.programs)
        hasFloor = hasFloor || spec.kind == Kind::Floor;
    if (!hasFloor)
        parsed.error = "no floor program given (--program floor:PATH)";
    return parsed;
}

std::vector<std::string> environmentFor(const ProgramSpec& spec, const char* const* base)
{
    std::vector<std::string> variables;
    for (const char* const* variable = base; *variable; ++variable)
        variables.emplace_back(*variable);
    for (const std::string& added : spec.env) {
        const std::string name = added.substr(0, added.find('=') + 1);
        std::erase_if(variables, [&](const std::string& v) { return v.starts_with(name); });
        variables.push_back(added);
    }
    return variables;
}

std::string usage()
{
    return "usage: tavoro-bench [--runs N] [--warmup N] [--clicks N] [--log-dir DIR]\n"
           "                    --program [NAME=]KIND:PATH ... [--env NAME:VARIABLE=VALUE ...]\n"
           "KIND: floor, tavoro3 or tavoro2. Needs DISPLAY: a private X server without a window\n"
           "manager, with the XTEST and DAMAGE extensions (bench/run.sh starts one).\n";
}

} // namespace tavoro::bench
