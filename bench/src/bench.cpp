// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench.h"

#include "procstatus.h"
#include "stats.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>

extern char** environ;

namespace tavoro::bench {

namespace {

// How long each step may take before the run counts as failed, and how long the windows must stay
// unpainted to count as settled before the next click.
constexpr double FirstWindowTimeoutMs = 10000;
constexpr double PaintTimeoutMs = 5000;
constexpr double StartTimeoutMs = 5000;
constexpr double ClickTimeoutMs = 2000;
constexpr double SettleAfterStartMs = 150;  // idle after a window's first paint
constexpr double SettleBeforeClickMs = 15;  // idle after the pointer arrives, before a click
constexpr double SettleAfterClickMs = 25;   // idle after a click's repaints
constexpr double SettleLimitMs = 3000;
// Successive key clicks alternate between two points this far left and right of the key's centre,
// farther apart than a double click allows, so that every click is a single click.
constexpr int ClickJitter = 8;
constexpr std::size_t MaxReasons = 5;

struct RunFailed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

pid_t spawn(const ProgramSpec& spec, const std::string& logDir)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string log = logDir.empty() ? "/dev/null" : logDir + "/" + spec.name + ".log";
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::string path = spec.path;
    char* argv[] = {path.data(), nullptr};
    std::vector<std::string> variables = environmentFor(spec, environ);
    std::vector<char*> envp;
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw RunFailed("cannot start " + spec.path);
    return pid;
}

// Ends a program and reaps it; a program that ignores SIGTERM for two seconds gets SIGKILL.
void stop(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int waited = 0; waited < 400; ++waited) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

std::string exitNote(pid_t pid)
{
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) != pid)
        return "";
    if (WIFEXITED(status))
        return " (it exited with status " + std::to_string(WEXITSTATUS(status)) + ")";
    if (WIFSIGNALED(status))
        return " (it died of signal " + std::to_string(WTERMSIG(status)) + ")";
    return "";
}

struct Measurement {
    std::optional<double> mappedMs;
    std::optional<double> paintedMs;
    std::optional<double> startToMappedMs;
    std::optional<double> rssMiB;
    std::vector<double> clicksMs;
};

// One program run: what the X server reports about the windows of one process.
class ProgramRun {
public:
    ProgramRun(XSession& x, const ProgramSpec& spec, int clicks, const std::string& logDir)
        : m_x(x)
        , m_spec(spec)
        , m_clicks(clicks)
        , m_logDir(logDir)
    {
    }

    ~ProgramRun()
    {
        if (m_pid > 0) {
            stop(m_pid);
            m_x.pump(30, [this](const XEvent& event, double at) { return observe(event, at), false; });
        }
    }

    Measurement measure()
    {
        Measurement m;
        const double started = nowMs();
        m_pid = spawn(m_spec, m_logDir);

        // Exec to the first window mapped, then to its first paint.
        const Window first = waitForMappedWindow(0, FirstWindowTimeoutMs, "no window mapped");
        m.mappedMs = m_mappedAt[first] - started;
        m.paintedMs = waitForFirstPaint(first) - started;
        settle(SettleAfterStartMs);

        Window calculator = first;
        if (m_spec.kind != Kind::Floor) {
            // The start button, clicked through XTEST once the pointer rests on it.
            const WindowGeometry splash = geometryOf(first);
            const Point button = startButtonCentre(m_spec.kind);
            m_x.movePointer({splash.x + button.x, splash.y + button.y});
            settle(SettleBeforeClickMs);
            const double clicked = nowMs();
            m_x.click();
            calculator = waitForMappedWindow(1, StartTimeoutMs, "no calculator window after the start click");
            m.startToMappedMs = m_mappedAt[calculator] - clicked;
            waitForFirstPaint(calculator);
            settle(SettleAfterStartMs);
        }

        if (const std::optional<long> kib = readVmRssKiB(m_pid))
            m.rssMiB = kibToMiB(*kib);

        const WindowGeometry window = geometryOf(calculator);
        if (m_spec.kind != Kind::Floor && window.width != CalculatorClientWidth)
            throw RunFailed("the calculator window is " + std::to_string(window.width) + " px wide, not "
                + std::to_string(CalculatorClientWidth));
        const Point key = digitKeyCentre(m_spec.kind, window.height);
        for (int i = 0; i < m_clicks; ++i) {
            const int jitter = (i % 2 == 0) ? -ClickJitter : ClickJitter;
            m_x.movePointer({window.x + key.x + jitter, window.y + key.y});
            settle(SettleBeforeClickMs);
            const double clicked = nowMs();
            m_x.click();
            double repainted = 0;
            if (!m_x.pump(ClickTimeoutMs, [&](const XEvent& event, double at) {
                    observe(event, at);
                    if (m_x.damagedDrawable(event) != calculator)
                        return false;
                    repainted = at;
                    return true;
                }))
                throw RunFailed("no repaint after a key click" + exitNote(m_pid));
            m.clicksMs.push_back(repainted - clicked);
            settle(SettleAfterClickMs);
        }
        return m;
    }

private:
    // Keeps track of the process's top-level windows; returns nothing, the pump's callers decide.
    void observe(const XEvent& event, double at)
    {
        switch (event.type) {
        case CreateNotify:
            // Properties come after creation, so every new top-level window is watched and the
            // ones of this process are picked out when they are mapped.
            if (event.xcreatewindow.parent == m_x.root() && !event.xcreatewindow.override_redirect)
                m_x.trackDamage(event.xcreatewindow.window);
            break;
        case MapNotify:
            if (event.xmap.event == m_x.root() && !event.xmap.override_redirect
                && m_x.windowPid(event.xmap.window) == m_pid && !m_mappedAt.contains(event.xmap.window)) {
                m_mappedAt[event.xmap.window] = at;
                m_mapped.push_back(event.xmap.window);
            }
            break;
        default:
            if (const std::optional<Drawable> drawable = m_x.damagedDrawable(event);
                drawable && m_mappedAt.contains(*drawable)) {
                m_firstPaint.try_emplace(*drawable, at);
                m_lastPaint = at;
            }
            break;
        }
    }

    Window waitForMappedWindow(std::size_t index, double timeoutMs, const char* what)
    {
        if (!m_x.pump(timeoutMs, [&](const XEvent& event, double at) {
                observe(event, at);
                return m_mapped.size() > index;
            }))
            throw RunFailed(std::string(what) + exitNote(m_pid));
        return m_mapped[index];
    }

    double waitForFirstPaint(Window window)
    {
        if (!m_firstPaint.contains(window)
            && !m_x.pump(PaintTimeoutMs, [&](const XEvent& event, double at) {
                   observe(event, at);
                   return m_firstPaint.contains(window);
               }))
            throw RunFailed("a window was never painted" + exitNote(m_pid));
        return m_firstPaint[window];
    }

    // Waits until no window of the process has been painted for `quietMs`.
    void settle(double quietMs)
    {
        const double limit = nowMs() + SettleLimitMs;
        m_lastPaint = nowMs();
        while (nowMs() < limit) {
            const double quietUntil = m_lastPaint + quietMs;
            const double wait = quietUntil - nowMs();
            if (wait <= 0)
                return;
            m_x.pump(wait, [this](const XEvent& event, double at) { return observe(event, at), false; });
        }
    }

    WindowGeometry geometryOf(Window window)
    {
        const std::optional<WindowGeometry> geometry = m_x.geometry(window);
        if (!geometry)
            throw RunFailed("a window vanished" + exitNote(m_pid));
        return *geometry;
    }

    XSession& m_x;
    const ProgramSpec& m_spec;
    int m_clicks;
    const std::string& m_logDir;
    pid_t m_pid = 0;
    std::vector<Window> m_mapped;
    std::unordered_map<Window, double> m_mappedAt;
    std::unordered_map<Window, double> m_firstPaint;
    double m_lastPaint = 0;
};

void record(ProgramResult& result, std::size_t round, const Measurement& m)
{
    result.mappedMs[round] = m.mappedMs;
    result.paintedMs[round] = m.paintedMs;
    result.startToMappedMs[round] = m.startToMappedMs;
    result.rssMiB[round] = m.rssMiB;
    if (!m.clicksMs.empty())
        result.clickRepaintMs[round] = median(m.clicksMs);
    result.everyClickMs.insert(result.everyClickMs.end(), m.clicksMs.begin(), m.clicksMs.end());
}

} // namespace

std::vector<ProgramResult> runBenchmark(XSession& x, const Options& options, std::ostream& progress)
{
    const auto runs = static_cast<std::size_t>(options.runs);
    std::vector<ProgramResult> results;
    for (const ProgramSpec& spec : options.programs) {
        ProgramResult result;
        result.spec = spec;
        for (Samples* samples : {&result.mappedMs, &result.paintedMs, &result.startToMappedMs,
                 &result.clickRepaintMs, &result.rssMiB})
            samples->resize(runs);
        results.push_back(std::move(result));
    }

    const std::size_t count = results.size();
    for (int round = -options.warmup; round < options.runs; ++round) {
        progress << (round < 0 ? "warm-up" : "round " + std::to_string(round + 1) + "/" + std::to_string(runs))
                 << ':';
        // The order rotates, so that no program always runs first or right after another.
        const std::size_t shift = static_cast<std::size_t>(round + options.warmup) % count;
        for (std::size_t k = 0; k < count; ++k) {
            ProgramResult& result = results[(k + shift) % count];
            progress << ' ' << result.spec.name << std::flush;
            try {
                // Warm-up rounds click only a few times: they only fill the caches.
                const int clicks = round < 0 ? std::min(options.clicks, 3) : options.clicks;
                Measurement m = ProgramRun(x, result.spec, clicks, options.logDir).measure();
                if (round >= 0)
                    record(result, static_cast<std::size_t>(round), m);
            } catch (const RunFailed& failure) {
                progress << "(failed)";
                if (round >= 0) {
                    ++result.failedRuns;
                    if (result.failures.size() < MaxReasons)
                        result.failures.push_back("round " + std::to_string(round + 1) + ": " + failure.what());
                }
            }
        }
        progress << '\n';
    }
    return results;
}

} // namespace tavoro::bench
