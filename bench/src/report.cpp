// SPDX-License-Identifier: GPL-3.0-or-later
#include "report.h"

#include <cstdio>

namespace tavoro::bench {

namespace {

const ProgramResult* floorOf(const std::vector<ProgramResult>& all)
{
    for (const ProgramResult& result : all) {
        if (result.spec.kind == Kind::Floor)
            return &result;
    }
    return nullptr;
}

std::string format(const char* pattern, auto... values)
{
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, pattern, values...);
    return buffer;
}

std::string goalText(const Goal& goal, int decimals)
{
    return format("%s %.*f", goal.inclusive ? "<=" : "<", decimals, goal.limit);
}

class Table {
public:
    // A row; `label` is printed only on the first row of a figure.
    void row(const std::string& label, const std::string& program, const Samples& samples,
        int decimals, const Goal* goal)
    {
        std::string line = format("%-40s %-16s", label.c_str(), program.c_str());
        const std::optional<Summary> summary = summarize(samples);
        if (!summary) {
            line += format(" %9s %9s %9s", "-", "-", "-");
        } else {
            line += format(" %9.*f %9.*f %9.*f", decimals, summary->median, decimals, summary->min,
                decimals, summary->max);
        }
        if (goal) {
            const std::string verdict = !summary ? "no data" : goal->metBy(summary->median) ? "met" : "NOT MET";
            line += format("   %-8s %s", goalText(*goal, decimals == 2 ? 2 : 0).c_str(), verdict.c_str());
        }
        m_text += line;
        // No trailing blanks.
        while (!m_text.empty() && m_text.back() == ' ')
            m_text.pop_back();
        m_text += '\n';
    }

    void rule() { m_text += std::string(100, '-') + '\n'; }
    void header()
    {
        m_text += format("%-40s %-16s %9s %9s %9s   %s\n", "figure", "program", "median", "min", "max",
            "goal (median)");
        rule();
    }
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

bool isProgram(const ProgramResult& result) { return result.spec.kind != Kind::Floor; }

} // namespace

Samples splashRatios(const ProgramResult& program, const std::vector<ProgramResult>& all)
{
    const ProgramResult* floor = floorOf(all);
    if (!floor)
        return Samples(program.mappedMs.size());
    return ratios(program.mappedMs, floor->mappedMs);
}

std::string formatTable(const std::vector<ProgramResult>& results, int clicksPerRun)
{
    Table table;
    table.header();

    // Each figure lists the programs in the order given, the floor wherever it was put.
    auto figure = [&](const std::string& label, auto samplesOf, int decimals, const Goal* goal,
                      bool withFloor) {
        bool first = true;
        for (const ProgramResult& result : results) {
            if (!withFloor && !isProgram(result))
                continue;
            table.row(first ? label : std::string(), result.spec.name, samplesOf(result), decimals,
                isProgram(result) ? goal : nullptr);
            first = false;
        }
    };

    figure("exec -> first window mapped (ms)", [](const ProgramResult& r) { return r.mappedMs; }, 1,
        nullptr, true);
    figure("  ratio to the floor, same round (x)",
        [&](const ProgramResult& r) { return splashRatios(r, results); }, 2, &goals::SplashRatio, false);
    figure("exec -> first window painted (ms)", [](const ProgramResult& r) { return r.paintedMs; }, 1,
        nullptr, true);
    figure("start click -> calculator mapped (ms)",
        [](const ProgramResult& r) { return r.startToMappedMs; }, 1, &goals::StartToMappedMs, false);
    figure(format("key click -> first repaint (ms, %d/run)", clicksPerRun),
        [](const ProgramResult& r) { return r.clickRepaintMs; }, 2, &goals::ClickRepaintMs, true);
    figure("  every click pooled (ms)",
        [](const ProgramResult& r) {
            return Samples(r.everyClickMs.begin(), r.everyClickMs.end());
        },
        2, nullptr, true);
    figure("resident memory, window shown (MiB)", [](const ProgramResult& r) { return r.rssMiB; }, 1,
        &goals::ResidentMiB, true);
    return table.text();
}

std::string formatFailures(const std::vector<ProgramResult>& results)
{
    std::string text;
    for (const ProgramResult& result : results) {
        if (result.failedRuns == 0)
            continue;
        text += format("%s: %d failed run(s)\n", result.spec.name.c_str(), result.failedRuns);
        for (const std::string& reason : result.failures)
            text += "  " + reason + '\n';
    }
    return text;
}

} // namespace tavoro::bench
