#include "tools/artwork/wave_shapes.h"

#include <cmath>
#include <numbers>

namespace artwork {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kGolden = 0.618;
constexpr double kTurn = 2.0 * kPi * kGolden;

// The LFO square is smoothed by a one-pole filter; drawn as a square whose
// edges settle over a short stretch of the period.
double SmoothedSquare(double phase)
{
    constexpr double kSettle = 0.18;
    const double rise = phase / (2.0 * kPi);
    if (rise < 0.5)
        return 1.0 - 2.0 * std::exp(-rise / kSettle * 4.0);
    return -1.0 + 2.0 * std::exp(-(rise - 0.5) / kSettle * 4.0);
}

} // namespace

double CarrierShape(int index, double phase)
{
    const double p = phase;
    switch (index) {
    case 0:
        return std::sin(p);
    case 1:
        return p < kPi ? p * 2.0 / kPi - 1.0 : 3.0 - p * 2.0 / kPi;
    case 2:
        return 1.0 - p / kPi;
    case 3:
        return p < kPi ? 1.0 : -1.0;
    case 4:
        return p < kTurn
                   ? std::cos(p * 0.5 / kGolden)
                   : std::cos(p * 0.5 / (1.0 - kGolden) + (1.0 - 2.0 * kGolden) * kPi / (1.0 - kGolden));
    case 5:
        return p < kTurn ? 2.0 * std::sin(p * 0.25 / kGolden) - 1.0
                         : 2.0 * std::sin(p * 0.25 / (1.0 - kGolden) +
                                          (1.0 - 2.0 * kGolden) * kPi / (2.0 * (1.0 - kGolden))) -
                               1.0;
    case 6:
        return p < kTurn ? p * 2.0 / kTurn - 1.0
                         : (1.0 + kGolden) / (1.0 - kGolden) - p / ((1.0 - kGolden) * kPi);
    default:
        return p < kTurn ? 1.0 : -1.0;
    }
}

double LfoShape(int index, double phase)
{
    const double p = phase;
    switch (index) {
    case 0:
    case 1:
        return CarrierShape(index, p); // sine and triangle as the carrier's
    case 2:
        return p < kPi / 2.0 ? p * 4.0 / kPi - 1.0 : 5.0 / 3.0 - p * 4.0 / (3.0 * kPi);
    case 3:
        return p < 1.5 * kPi ? p * 4.0 / (3.0 * kPi) - 1.0 : 7.0 - p * 4.0 / kPi;
    case 4:
        return SmoothedSquare(p);
    case 5:
        return 2.0 * std::sin(p / 2.0) - 1.0;
    default:
        return 2.0 * std::sin(p / 2.0 + kPi) + 1.0;
    }
}

void TraceShape(cairo_t* cr, ShapeFunction shape, int index, double x, double y, double width, double height)
{
    constexpr int kSteps = 240;
    double previous = 0.0;
    for (int step = 0; step <= kSteps; ++step) {
        const double fraction = static_cast<double>(step) / kSteps;
        const double phase = std::fmin(fraction, 0.999999) * 2.0 * kPi;
        const double value = shape(index, phase);
        const double px = x + fraction * width;
        const double py = y + (1.0 - value) * 0.5 * height;
        if (step == 0) {
            cairo_move_to(cr, px, py);
        } else if (std::fabs(value - previous) > 0.5) {
            // A jump (square edges, the saw's return): a vertical line.
            cairo_line_to(cr, px, y + (1.0 - previous) * 0.5 * height);
            cairo_line_to(cr, px, py);
        } else {
            cairo_line_to(cr, px, py);
        }
        previous = value;
    }
    // Close the period where the shape jumps back to its start.
    const double start = shape(index, 0.0);
    if (std::fabs(start - previous) > 0.5)
        cairo_line_to(cr, x + width, y + (1.0 - start) * 0.5 * height);
}

} // namespace artwork
