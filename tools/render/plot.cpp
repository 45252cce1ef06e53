#include "tools/render/plot.h"

#include "tools/render/time_text.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>

namespace render {

namespace {

constexpr double kWidth = 1200.0;
constexpr double kScheduleHeight = 900.0;
constexpr double kDetailHeight = 500.0;
constexpr double kLeft = 90.0;
constexpr double kRight = 30.0;
constexpr double kTop = 60.0;

struct Rgb {
    double r, g, b;
};

struct Band {
    const char* name;
    double low;
    double high;
    Rgb colour;
};

// The usual brain-wave bands, by pulse rate in Hz.
constexpr Band kBands[] = {
    {"delta", 0.0, 4.0, {0.80, 0.86, 0.97}},  {"theta", 4.0, 8.0, {0.82, 0.93, 0.84}},
    {"alpha", 8.0, 13.0, {0.97, 0.95, 0.80}}, {"beta", 13.0, 30.0, {0.98, 0.86, 0.78}},
    {"gamma", 30.0, 1e9, {0.93, 0.83, 0.95}},
};

struct Box {
    double x, y, w, h;
};

// Maps values to the box's height, linearly or on a log scale.
struct Axis {
    double low, high;
    bool log;
    double Map(const Box& box, double v) const
    {
        const double share =
            log ? (std::log(v) - std::log(low)) / (std::log(high) - std::log(low)) : (v - low) / (high - low);
        return box.y + box.h - std::clamp(share, -0.02, 1.02) * box.h;
    }
};

using SurfacePtr = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using ContextPtr = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// Draws with draw onto a surface of the format and collects its bytes.
bool Render(PlotFormat format, double height, const std::function<void(cairo_t*)>& draw, std::string& bytes,
            std::string& error)
{
    bytes.clear();
    SurfacePtr surface(format == PlotFormat::Svg
                           ? cairo_svg_surface_create_for_stream(AppendBytes, &bytes, kWidth, height)
                           : cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(kWidth),
                                                        static_cast<int>(height)),
                       cairo_surface_destroy);
    ContextPtr cr(cairo_create(surface.get()), cairo_destroy);
    cairo_set_source_rgb(cr.get(), 1, 1, 1);
    cairo_paint(cr.get());
    cairo_select_font_face(cr.get(), "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    draw(cr.get());
    cairo_status_t status = cairo_status(cr.get());
    cr.reset();
    if (status == CAIRO_STATUS_SUCCESS && format == PlotFormat::Png)
        status = cairo_surface_write_to_png_stream(surface.get(), AppendBytes, &bytes);
    cairo_surface_finish(surface.get());
    if (status == CAIRO_STATUS_SUCCESS)
        status = cairo_surface_status(surface.get());
    if (status != CAIRO_STATUS_SUCCESS) {
        error = std::string("cannot draw the plot: ") + cairo_status_to_string(status);
        return false;
    }
    return true;
}

enum class Align { Left, Centre, Right };

void Text(cairo_t* cr, double x, double y, const std::string& text, double size, Align align = Align::Left)
{
    cairo_set_font_size(cr, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    const double shift = align == Align::Left     ? 0.0
                         : align == Align::Centre ? extents.x_advance / 2
                                                  : extents.x_advance;
    cairo_move_to(cr, x - shift, y);
    cairo_show_text(cr, text.c_str());
}

void VerticalText(cairo_t* cr, double x, double y, const std::string& text, double size)
{
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, -std::acos(-1.0) / 2);
    Text(cr, 0, 0, text, size, Align::Centre);
    cairo_restore(cr);
}

std::string NumberLabel(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

// A step for about count ticks: 1, 2 or 5 times a power of ten.
double NiceStep(double range, int count)
{
    const double raw = range / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * power >= raw)
            return m * power;
    return 10.0 * power;
}

// Time ticks in seconds, minutes or hours as the length suits.
double TimeStep(double length)
{
    constexpr double kSteps[] = {0.1, 0.2, 0.5, 1,   2,   5,    10,   15,   30,
                                 60,  120, 300, 600, 900, 1800, 3600, 7200, 10800};
    for (double s : kSteps)
        if (length / s <= 10.0)
            return s;
    return 21600.0;
}

void Frame(cairo_t* cr, const Box& box)
{
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
    cairo_set_line_width(cr, 1.0);
    cairo_rectangle(cr, box.x, box.y, box.w, box.h);
    cairo_stroke(cr);
}

void GridLine(cairo_t* cr, double x0, double y0, double x1, double y1)
{
    cairo_set_source_rgba(cr, 0, 0, 0, 0.12);
    cairo_set_line_width(cr, 1.0);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_stroke(cr);
}

void YTicks(cairo_t* cr, const Box& box, const Axis& axis, const std::vector<double>& ticks,
            const std::string& label)
{
    for (double v : ticks) {
        const double y = axis.Map(box, v);
        GridLine(cr, box.x, y, box.x + box.w, y);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        Text(cr, box.x - 6, y + 4, NumberLabel(v), 11, Align::Right);
    }
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    VerticalText(cr, box.x - 55, box.y + box.h / 2, label, 13);
}

std::vector<double> LinearTicks(double low, double high)
{
    std::vector<double> ticks;
    const double step = NiceStep(high - low, 5);
    for (double v = std::ceil(low / step) * step; v <= high + step * 1e-9; v += step)
        ticks.push_back(v);
    return ticks;
}

double TimeToX(const Box& box, double length, double t)
{
    return box.x + box.w * (length > 0.0 ? t / length : 0.0);
}

enum class TimeLabels { None, Clock, Seconds };

void TimeAxis(cairo_t* cr, const Box& box, double length, TimeLabels labels)
{
    const double step = TimeStep(length);
    for (int k = 0; k * step <= length + step * 1e-9; ++k) {
        const double t = k * step;
        const double x = TimeToX(box, length, t);
        GridLine(cr, x, box.y, x, box.y + box.h);
        if (labels == TimeLabels::None)
            continue;
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        Text(cr, x, box.y + box.h + 16, labels == TimeLabels::Clock ? DurationText(t) : NumberLabel(t), 11,
             Align::Centre);
    }
}

void Curve(cairo_t* cr, const Box& box, const Axis& axis, const PlotCurve& curve, double length, Rgb colour)
{
    if (curve.values.empty())
        return;
    cairo_save(cr);
    cairo_rectangle(cr, box.x, box.y, box.w, box.h);
    cairo_clip(cr);
    cairo_set_source_rgb(cr, colour.r, colour.g, colour.b);
    cairo_set_line_width(cr, 2.0);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (std::size_t i = 0; i < curve.values.size(); ++i) {
        const double x = TimeToX(box, length, curve.seconds[i]);
        const double y = axis.Map(box, curve.values[i]);
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
}

std::pair<double, double> Extent(const PlotCurve& curve)
{
    if (curve.values.empty())
        return {0.0, 1.0};
    const auto [lo, hi] = std::minmax_element(curve.values.begin(), curve.values.end());
    return {*lo, *hi};
}

// Octaves around the pulse rates, never narrower than 1 to 32 Hz.
Axis PulseAxis(const PlotCurve& pulse)
{
    auto [lo, hi] = Extent(pulse);
    double low = 1.0;
    double high = 32.0;
    while (low > lo / 1.2 && low > 0.01)
        low /= 2.0;
    while (high < hi * 1.2 && high < 1024.0)
        high *= 2.0;
    return {low, high, true};
}

void Bands(cairo_t* cr, const Box& box, const Axis& axis)
{
    for (const Band& band : kBands) {
        const double low = std::max(band.low, axis.low);
        const double high = std::min(band.high, axis.high);
        if (low >= high)
            continue;
        const double top = axis.Map(box, high);
        const double bottom = axis.Map(box, low);
        cairo_set_source_rgb(cr, band.colour.r, band.colour.g, band.colour.b);
        cairo_rectangle(cr, box.x, top, box.w, bottom - top);
        cairo_fill(cr);
        if (bottom - top > 14.0) {
            cairo_set_source_rgb(cr, 0.35, 0.35, 0.35);
            Text(cr, box.x + box.w - 8, (top + bottom) / 2 + 5, band.name, 14, Align::Right);
        }
    }
}

std::vector<double> PulseTicks(const Axis& axis)
{
    std::vector<double> ticks;
    for (double v = axis.low; v <= axis.high * 1.0001; v *= 2.0)
        ticks.push_back(v);
    return ticks;
}

Axis PaddedAxis(const PlotCurve& curve, double floor, double ceiling)
{
    auto [lo, hi] = Extent(curve);
    const double pad = std::max((hi - lo) * 0.15, std::max(std::fabs(hi) * 0.1, 1.0));
    const double step = NiceStep(hi - lo + 2 * pad, 5);
    return {std::max(floor, std::floor((lo - pad) / step) * step),
            std::min(ceiling, std::ceil((hi + pad) / step) * step), false};
}

} // namespace

bool PlotFormatFor(const std::string& path, PlotFormat& format)
{
    const std::size_t dot = path.rfind('.');
    std::string ext = dot == std::string::npos ? "" : path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == "png")
        format = PlotFormat::Png;
    else if (ext == "svg")
        format = PlotFormat::Svg;
    else
        return false;
    return true;
}

bool DrawSchedulePlot(const SchedulePlot& plot, PlotFormat format, std::string& bytes, std::string& error)
{
    return Render(
        format, kScheduleHeight,
        [&](cairo_t* cr) {
            const double w = kWidth - kLeft - kRight;
            const Box pulse{kLeft, kTop, w, 440};
            const Box carrier{kLeft, 530, w, 140};
            const Box mix{kLeft, 700, w, 140};
            cairo_set_source_rgb(cr, 0, 0, 0);
            Text(cr, kWidth / 2, 34, plot.title, 18, Align::Centre);

            const Axis pulseAxis = PulseAxis(plot.pulse);
            Bands(cr, pulse, pulseAxis);
            YTicks(cr, pulse, pulseAxis, PulseTicks(pulseAxis), "pulse rate (Hz, log scale)");
            TimeAxis(cr, pulse, plot.length, TimeLabels::None);
            Curve(cr, pulse, pulseAxis, plot.pulse, plot.length, {0.75, 0.1, 0.1});
            Frame(cr, pulse);

            const Axis carrierAxis = PaddedAxis(plot.carrier, 0.0, 1e9);
            YTicks(cr, carrier, carrierAxis, LinearTicks(carrierAxis.low, carrierAxis.high), "carrier (Hz)");
            TimeAxis(cr, carrier, plot.length, TimeLabels::None);
            Curve(cr, carrier, carrierAxis, plot.carrier, plot.length, {0.1, 0.3, 0.75});
            Frame(cr, carrier);

            const Axis mixAxis{0.0, 100.0, false};
            YTicks(cr, mix, mixAxis, {0, 25, 50, 75, 100}, "mix (%)");
            TimeAxis(cr, mix, plot.length, TimeLabels::Clock);
            Curve(cr, mix, mixAxis, plot.mix, plot.length, {0.1, 0.55, 0.25});
            Frame(cr, mix);
            cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
            Text(cr, kWidth / 2, kScheduleHeight - 18, "time (h:mm:ss)", 13, Align::Centre);
        },
        bytes, error);
}

bool DrawDetailPlot(const DetailPlot& plot, PlotFormat format, std::string& bytes, std::string& error)
{
    return Render(
        format, kDetailHeight,
        [&](cairo_t* cr) {
            const Box box{kLeft, kTop, kWidth - kLeft - kRight, kDetailHeight - kTop - 70};
            const double length = static_cast<double>(plot.samples.size()) / plot.rate;
            cairo_set_source_rgb(cr, 0, 0, 0);
            Text(cr, kWidth / 2, 34, plot.title, 18, Align::Centre);
            float peak = 1e-9f;
            for (float s : plot.samples)
                peak = std::max(peak, std::fabs(s));
            const double top = std::max(0.1, std::ceil(peak * 10.0) / 10.0);
            const Axis axis{-top, top, false};
            YTicks(cr, box, axis, LinearTicks(-top, top), "amplitude (left channel)");
            TimeAxis(cr, box, length, TimeLabels::Seconds);
            const std::size_t n = plot.samples.size();
            const int columns = static_cast<int>(box.w);
            // The waveform: the lowest and highest sample under each column.
            cairo_set_source_rgb(cr, 0.62, 0.7, 0.85);
            cairo_set_line_width(cr, 1.0);
            for (int c = 0; c < columns && n > 0; ++c) {
                const std::size_t from = n * static_cast<std::size_t>(c) / static_cast<std::size_t>(columns);
                const std::size_t to = std::max(from + 1, n * static_cast<std::size_t>(c + 1) /
                                                              static_cast<std::size_t>(columns));
                const auto [lo, hi] =
                    std::minmax_element(plot.samples.begin() + static_cast<long>(from),
                                        plot.samples.begin() + static_cast<long>(std::min(to, n)));
                cairo_move_to(cr, box.x + c + 0.5, axis.Map(box, *hi));
                cairo_line_to(cr, box.x + c + 0.5, axis.Map(box, *lo) + 0.5);
            }
            cairo_stroke(cr);
            // The envelope: the peak over a carrier period around each column.
            cairo_set_source_rgb(cr, 0.75, 0.1, 0.1);
            cairo_set_line_width(cr, 2.0);
            const std::size_t half = static_cast<std::size_t>(std::max(1, plot.envelopeWindow / 2));
            for (int c = 0; c < columns && n > 0; ++c) {
                const std::size_t centre =
                    n * static_cast<std::size_t>(c) / static_cast<std::size_t>(columns);
                const std::size_t from = centre > half ? centre - half : 0;
                const std::size_t to = std::min(n, centre + half);
                float e = 0.0f;
                for (std::size_t i = from; i < to; ++i)
                    e = std::max(e, std::fabs(plot.samples[i]));
                if (c == 0)
                    cairo_move_to(cr, box.x + c, axis.Map(box, e));
                else
                    cairo_line_to(cr, box.x + c, axis.Map(box, e));
            }
            cairo_stroke(cr);
            Frame(cr, box);
            cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
            Text(cr, kWidth / 2, kDetailHeight - 18, "time (s); red: envelope (peak over one carrier period)",
                 13, Align::Centre);
        },
        bytes, error);
}

} // namespace render
