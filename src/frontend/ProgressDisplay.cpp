// The ticker thread redraws the line so the times in it move even while
// mosk is quiet (a long elimination, a worker).
#include "frontend/ProgressDisplay.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr auto kRedraw = std::chrono::milliseconds(250);
constexpr auto kLineInterval = std::chrono::seconds(1);
// On a pipe a line that only says time went by comes this seldom.
constexpr auto kQuietLineInterval = std::chrono::seconds(30);

double SecondsBetween(std::chrono::steady_clock::time_point from,
                      std::chrono::steady_clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

}  // namespace

ProgressMode ChooseProgressMode(int requested, bool verbose, bool errorIsTerminal)
{
    if (requested == 0) return ProgressMode::Off;
    if (requested > 0)
        return errorIsTerminal && !verbose ? ProgressMode::Terminal : ProgressMode::Lines;
    return errorIsTerminal && !verbose ? ProgressMode::Terminal : ProgressMode::Off;
}

std::size_t TerminalColumns()
{
    winsize size = {};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 10) return size.ws_col;
    return 80;
}

ProgressDisplay::ProgressDisplay(ProgressMode mode, std::ostream& err, double epsilon,
                                 std::size_t runs, std::size_t width)
    : mode(mode), err(err), epsilon(epsilon), runs(runs), width(std::max<std::size_t>(width, 1))
{
    if (mode != ProgressMode::Off) ticker = std::thread([this] { Tick(); });
}

ProgressDisplay::~ProgressDisplay()
{
    Stop();
}

void ProgressDisplay::Stop()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        if (stopped) return;
        stopped = true;
        Clear();
    }
    wake.notify_all();
    if (ticker.joinable()) ticker.join();
}

std::size_t ProgressDisplay::Begin(const std::string& name)
{
    std::lock_guard<std::mutex> guard(lock);
    const auto now = std::chrono::steady_clock::now();
    slots.push_back({name, RunProgress(epsilon, now), true, now});
    return slots.size() - 1;
}

void ProgressDisplay::Feed(std::size_t slot, std::string_view piece)
{
    if (mode == ProgressMode::Off) return;
    std::lock_guard<std::mutex> guard(lock);
    slots[slot].progress.Feed(piece);
}

void ProgressDisplay::End(std::size_t slot)
{
    std::lock_guard<std::mutex> guard(lock);
    slots[slot].running = false;
    ++finished;
    finishedSeconds += SecondsBetween(slots[slot].start, std::chrono::steady_clock::now());
}

void ProgressDisplay::Write(const std::string& text)
{
    std::lock_guard<std::mutex> guard(lock);
    Clear();
    err << text;
    err.flush();
    if (!stopped) Draw();
}

std::string ProgressDisplay::Text(bool withTime) const
{
    const auto now = std::chrono::steady_clock::now();
    const Slot* shownRun = nullptr;
    std::size_t running = 0;
    // A run still at work is more telling than one collecting its results.
    for (const Slot& slot : slots)
        if (slot.running) {
            ++running;
            if (shownRun == nullptr || (shownRun->progress.State(now).phase == RunPhase::Done &&
                                        slot.progress.State(now).phase != RunPhase::Done))
                shownRun = &slot;
        }
    std::string text = "mosk-solve: ";
    if (runs > 1) {
        text += std::to_string(finished) + " of " + std::to_string(runs) + " runs done, " +
                std::to_string(running) + " running";
        if (finished > 0 && finished < runs) {
            const double perRun = finishedSeconds / static_cast<double>(finished);
            const double waves =
                std::ceil(static_cast<double>(runs - finished) / static_cast<double>(width));
            text += ", ~" + RoughDuration(perRun * waves) + " left";
        }
        if (shownRun != nullptr) text += " | " + shownRun->name + ": ";
    }
    if (shownRun != nullptr) text += DescribeProgress(shownRun->progress.State(now));
    if (runs <= 1 && withTime) text += " [" + RoughDuration(SecondsBetween(start, now)) + "]";
    return text;
}

void ProgressDisplay::Clear()
{
    if (mode != ProgressMode::Terminal || shown.empty()) return;
    err << "\r\x1b[K";
    err.flush();
    shown.clear();
}

void ProgressDisplay::Draw()
{
    if (mode == ProgressMode::Off || slots.empty()) return;
    const auto now = std::chrono::steady_clock::now();
    if (mode == ProgressMode::Lines) {
        const std::string text = Text(false);
        if (now - lastLine < (text == shown ? kQuietLineInterval : kLineInterval)) return;
        err << Text(true) << "\n";
        err.flush();
        lastLine = now;
        shown = text;
        return;
    }
    std::string text = Text(true);
    const std::size_t columns = TerminalColumns();
    if (text.size() >= columns) text.resize(columns - 1);
    if (text == shown) return;
    err << "\r" << text << "\x1b[K";
    err.flush();
    shown = text;
}

void ProgressDisplay::Tick()
{
    std::unique_lock<std::mutex> guard(lock);
    while (!stopped) {
        Draw();
        wake.wait_for(guard, kRedraw, [this] { return stopped; });
    }
}
