#include "tools/render/progress.h"

#include "tools/render/terminal.h"

#include <algorithm>
#include <cstdio>

namespace render {

namespace {

std::string ClockText(double seconds)
{
    const auto total = static_cast<long long>(seconds);
    char text[32];
    if (total >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", total / 60, total % 60);
    return text;
}

} // namespace

std::string FormatProgressLine(std::int64_t framesDone, std::int64_t framesTotal, double rate,
                               double elapsedSeconds, int columns)
{
    const double fraction =
        framesTotal > 0
            ? std::clamp(static_cast<double>(framesDone) / static_cast<double>(framesTotal), 0.0, 1.0)
            : 0.0;
    const double audio = static_cast<double>(framesDone) / rate;
    // The rest at the speed so far.
    const std::string left =
        fraction > 0.0 ? ClockText(elapsedSeconds * (1.0 - fraction) / fraction) + " left" : "--:-- left";
    char tail[160];
    std::snprintf(tail, sizeof tail, " %3d%%  %s / %s  %.1f s, %s  %.0fx real time",
                  static_cast<int>(fraction * 100.0), ClockText(audio).c_str(),
                  ClockText(static_cast<double>(framesTotal) / rate).c_str(), elapsedSeconds, left.c_str(),
                  elapsedSeconds > 0.0 ? audio / elapsedSeconds : 0.0);
    const int barWidth = std::clamp(columns - 1 - static_cast<int>(std::string(tail).size()) - 2, 0, 40);
    std::string line;
    if (barWidth >= 5) {
        const int filled = static_cast<int>(fraction * barWidth);
        line = "[" + std::string(static_cast<std::size_t>(filled), '#') +
               std::string(static_cast<std::size_t>(barWidth - filled), '.') + "]";
    }
    line += tail;
    if (static_cast<int>(line.size()) > columns - 1)
        line.resize(static_cast<std::size_t>(std::max(columns - 1, 0)));
    return line;
}

ProgressDisplay::ProgressDisplay(bool enabled_, std::int64_t framesTotal, double rate_)
    : enabled(enabled_), total(framesTotal), rate(rate_ > 0.0 ? rate_ : 1.0), start(Clock::now()),
      lastDraw(start)
{
    if (enabled)
        columns = StderrColumns();
}

double ProgressDisplay::ElapsedSeconds() const
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void ProgressDisplay::Update(std::int64_t framesDone)
{
    lastFrames = framesDone;
    if (!enabled)
        return;
    const Clock::time_point now = Clock::now();
    if (now - start < std::chrono::seconds(1) || now - lastDraw < std::chrono::milliseconds(100))
        return;
    lastDraw = now;
    shown = true;
    std::fprintf(stderr, "\r%s",
                 FormatProgressLine(framesDone, total, rate, ElapsedSeconds(), columns).c_str());
    std::fflush(stderr);
}

void ProgressDisplay::Finish()
{
    if (!shown)
        return;
    std::fprintf(stderr, "\r%s\n",
                 FormatProgressLine(lastFrames, total, rate, ElapsedSeconds(), columns).c_str());
    std::fflush(stderr);
    shown = false;
}

} // namespace render
