#pragma once
// The progress line of a long render on stderr: a bar, the share done, the
// audio time rendered, the elapsed and the remaining time and the speed as a
// multiple of real time. It appears only on a terminal, only once a render has run for about a
// second, and redraws at most ten times a second.

#include <chrono>
#include <cstdint>
#include <string>

namespace render {

// One line of at most columns characters (no line end).
std::string FormatProgressLine(std::int64_t framesDone, std::int64_t framesTotal, double rate,
                               double elapsedSeconds, int columns);

class ProgressDisplay {
public:
    ProgressDisplay(bool enabled, std::int64_t framesTotal, double rate);
    void Update(std::int64_t framesDone);
    void Finish(); // ends the line if one was drawn
    double ElapsedSeconds() const;

private:
    using Clock = std::chrono::steady_clock;
    bool enabled;
    bool shown = false;
    std::int64_t total;
    double rate;
    int columns = 80;
    Clock::time_point start;
    Clock::time_point lastDraw;
    std::int64_t lastFrames = 0;
};

} // namespace render
