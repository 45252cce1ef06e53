#pragma once
// Pictures of a render, drawn with cairo as PNG or SVG: the schedule (pulse
// rate on a log axis over the brain-wave bands, carrier frequency and mix
// over time) and the detail of the rendered envelope's first seconds.

#include <cstdint>
#include <string>
#include <vector>

namespace render {

enum class PlotFormat { Png, Svg };

// The format a plot file's extension asks for; false for anything else.
bool PlotFormatFor(const std::string& path, PlotFormat& format);

struct PlotCurve {
    std::vector<double> seconds;
    std::vector<double> values;
};

struct SchedulePlot {
    std::string title;
    double length = 0.0; // seconds
    PlotCurve pulse;     // Hz
    PlotCurve carrier;   // Hz
    PlotCurve mix;       // %
};

struct DetailPlot {
    std::string title;
    double rate = 48000.0;
    std::vector<float> samples; // left channel
    int envelopeWindow = 240;   // frames the envelope takes its peak over (a carrier period)
};

// The picture's bytes, or false with a message.
bool DrawSchedulePlot(const SchedulePlot& plot, PlotFormat format, std::string& bytes, std::string& error);
bool DrawDetailPlot(const DetailPlot& plot, PlotFormat format, std::string& bytes, std::string& error);

} // namespace render
