// Throughput of the drawing operations the editor repeats on every frame.
// Each benchmark reports CPU nanoseconds per pixel as the "ns/px" counter (an
// inverted rate, which the framework prints with a unit of "s").

#include "raster/draw.h"
#include "raster/text.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <numbers>

namespace {

std::unique_ptr<RasterBitmap> Pattern(int w, int h)
{
    auto b = CreateMemoryBitmap(w, h, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto v = static_cast<std::uint32_t>(x * 7 + y * 13);
            // A round knob-like shape: opaque inside, transparent corners.
            const int dx = 2 * x - w, dy = 2 * y - h;
            const std::uint32_t alpha = dx * dx + dy * dy < w * h ? 0xFF : (v & 0x7F);
            *b->At(x, y) = (alpha << 24) | ((v * 3 & 0xFF) << 16) | ((v * 5 & 0xFF) << 8) | (v & 0xFF);
        }
    return b;
}

void SetPixelRate(benchmark::State& state, double pixelsPerIteration)
{
    state.counters["ns/px"] =
        benchmark::Counter(pixelsPerIteration * 1e-9,
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_FullCanvasBlit(benchmark::State& state)
{
    const float weight = static_cast<float>(state.range(0)) / 100.0f;
    auto canvas = CreateSystemBitmap(550, 365);
    auto background = Pattern(550, 365);
    for (auto _ : state) {
        BlitBitmap(canvas.get(), background.get(), 0, 0, {0, 0, 550, 365}, weight, 0);
        benchmark::DoNotOptimize(canvas->Pixels());
    }
    SetPixelRate(state, 550.0 * 365.0);
}
BENCHMARK(BM_FullCanvasBlit)->Arg(100)->Arg(50)->Arg(30);

void BM_AlphaBlit58(benchmark::State& state)
{
    auto canvas = Pattern(550, 365);
    auto image = Pattern(58, 58);
    for (auto _ : state) {
        BlitBitmap(canvas.get(), image.get(), 100, 100, {0, 0, 58, 58}, 1.0f, 0x10000);
        benchmark::DoNotOptimize(canvas->Pixels());
    }
    SetPixelRate(state, 58.0 * 58.0);
}
BENCHMARK(BM_AlphaBlit58);

void BM_RotatedKnob58(benchmark::State& state)
{
    const int mode = static_cast<int>(state.range(0));
    auto canvas = Pattern(550, 365);
    auto knob = Pattern(58, 58);
    double angle = 0.0;
    for (auto _ : state) {
        BlitRotated(canvas.get(), knob.get(), 100, 100, 58, 58, 0, 0, 58, 58, angle, false, 1.0f, mode);
        angle += 0.01;
        benchmark::DoNotOptimize(canvas->Pixels());
    }
    SetPixelRate(state, 58.0 * 58.0);
}
// Filtered with source alpha, as the editor draws its knobs, and unfiltered.
BENCHMARK(BM_RotatedKnob58)->Arg(0x10100)->Arg(0x10000);

void BM_TextLine(benchmark::State& state)
{
    auto canvas = Pattern(550, 365);
    ITextStyle style;
    std::strcpy(style.fontName, "Arial");
    style.size = 12;
    style.colour = {255, 230, 230, 230};
    const char* text = "Isochronic 10.00 Hz";
    if (!DrawTextInRect(canvas.get(), &style, text, {10, 10, 200, 30})) {
        state.SkipWithError("no font");
        return;
    }
    for (auto _ : state) {
        DrawTextInRect(canvas.get(), &style, text, {10, 10, 200, 30});
        benchmark::DoNotOptimize(canvas->Pixels());
    }
    // Per pixel of the rectangle the line is laid out in.
    SetPixelRate(state, 190.0 * 20.0);
}
BENCHMARK(BM_TextLine);

} // namespace
