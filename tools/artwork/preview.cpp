#include "tools/artwork/preview.h"

#include "tools/artwork/label_fonts.h"
#include "tools/artwork/palette.h"
#include "tools/artwork/panel_geometry.h"

#include <iterator>
#include <numbers>
#include <string_view>

namespace artwork {

namespace {

namespace g = geometry;
constexpr double kPi = std::numbers::pi;

int SurfaceWidth(const Surface& s)
{
    return cairo_image_surface_get_width(s.get());
}

int SurfaceHeight(const Surface& s)
{
    return cairo_image_surface_get_height(s.get());
}

void DrawFrame(cairo_t* cr, const Surface& strip, int frame, int frameWidth, int frameHeight, bool stacked,
               double x, double y)
{
    cairo_save(cr);
    cairo_rectangle(cr, x, y, frameWidth, frameHeight);
    cairo_clip(cr);
    const double sx = stacked ? x : x - frame * frameWidth;
    const double sy = stacked ? y - frame * frameHeight : y;
    cairo_set_source_surface(cr, strip.get(), sx, sy);
    cairo_paint(cr);
    cairo_restore(cr);
}

// The host-drawn value text: 15-pixel cell, white at alpha 200, centred in
// the strip (left, bottom - 15, right, bottom) of the control.
void DrawValueText(cairo_t* cr, double left, double right, double bottom, std::string_view text)
{
    const TextStyle style{Face::ValueText, 15.0 * 2048.0 / 2288.0, 0.0, Hex(0xffffff), 200.0 / 255.0};
    DrawText(cr, style, (left + right) / 2.0, bottom - 15.0 + 15.0 * 1854.0 / 2288.0, text, Align::Centre);
}

void DrawKnob(cairo_t* cr, const Surface& cap, g::Point centre, double value, std::string_view text)
{
    const int size = SurfaceWidth(cap);
    const double half = size / 2.0;
    cairo_save(cr);
    cairo_translate(cr, centre.x, centre.y);
    cairo_rotate(cr, (300.0 * kPi / 360.0) * (2.0 * value - 1.0));
    cairo_set_source_surface(cr, cap.get(), -half, -half);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_paint(cr);
    cairo_restore(cr);
    const double bottom = centre.y + half + g::kValueTextHeight + g::kValueTextGap;
    DrawValueText(cr, centre.x - half, centre.x + half, bottom, text);
}

void DrawSelector(cairo_t* cr, const Surface& strip, g::Point centre, double areaWidth, int frame,
                  std::string_view text)
{
    const int frameSize = SurfaceHeight(strip);
    DrawFrame(cr, strip, frame, frameSize, frameSize, false, centre.x - frameSize / 2.0,
              centre.y - frameSize / 2.0);
    const double bottom = centre.y + frameSize / 2.0 + g::kValueTextHeight + g::kValueTextGap;
    DrawValueText(cr, centre.x - areaWidth / 2.0, centre.x + areaWidth / 2.0, bottom, text);
}

void PaintImageAt(cairo_t* cr, const Surface& image, double x, double y)
{
    cairo_set_source_surface(cr, image.get(), x, y);
    cairo_paint(cr);
}

void DrawMarker(cairo_t* cr, const g::Box& track, int offset)
{
    cairo_rectangle(cr, track.left + offset, track.top, 6.0, 2.0);
    cairo_set_source_rgba(cr, 1.0, 1.0, 1.0, 150.0 / 255.0);
    cairo_fill(cr);
}

} // namespace

namespace {

struct KnobSetting {
    double value;
    std::string_view text;
};

// One state of the panel to picture.
struct Scene {
    KnobSetting baseFreq, pulseRate, fade, round, pan, mix;
    int carrierFrame;
    std::string_view carrierText;
    bool golden, gate, play;
    KnobSetting lfoStart[2], lfoDepth[2], lfoRate[2];
    int lfoWaveFrame[2];
    std::string_view lfoWaveText[2];
    bool sync[2];
    int target[2];
    bool targetOpen;
    int marker[2]; // offset along the track, or -1 for none
    bool restart;
    std::string_view band;
};

const Scene kScenes[] = {
    {{0.3, "200.0 Hz"},
     {0.62, "4.00 Hz"},
     {0.12, "1000 ms"},
     {0.75, "75 %"},
     {0.5, "0 %"},
     {1.0, "100 %"},
     4,
     "Golden Sine",
     true,
     false,
     true,
     {{0.0, "0 %"}, {0.25, "25 %"}},
     {{0.9, "90 %"}, {0.6, "60 %"}},
     {{0.5, "1/1"}, {0.8, "8/1D"}},
     {0, 3},
     {"Sine", "Saw Flip"},
     {true, false},
     {2, 5},
     true,
     {120, 40},
     false,
     "THETA"},
    {{0.05, "20.0 Hz"},
     {1.0, "512.00 Hz"},
     {1.0, "90000 ms"},
     {0.0, "0 %"},
     {0.0, "-100 %"},
     {0.0, "0 %"},
     7,
     "Gold. Triangle",
     false,
     true,
     false,
     {{1.0, "100 %"}, {0.5, "50 %"}},
     {{0.0, "0 %"}, {1.0, "100 %"}},
     {{0.1, "1/16T"}, {0.35, "2000 ms"}},
     {6, 4},
     {"Half Flip", "Square"},
     {false, true},
     {0, 1},
     false,
     {0, 195},
     true,
     "LAMBDA"},
};

void DrawScene(cairo_t* cr, const PanelImages& images, const Scene& scene)
{
    PaintImageAt(cr, images.background, 0.0, 0.0);

    DrawKnob(cr, images.largeKnob, g::kBaseFreq, scene.baseFreq.value, scene.baseFreq.text);
    DrawKnob(cr, images.largeKnob, g::kPulseRate, scene.pulseRate.value, scene.pulseRate.text);
    DrawSelector(cr, images.carrierSelector, g::kCarrierSelector, 80.0, scene.carrierFrame,
                 scene.carrierText);
    DrawFrame(cr, images.switchStrip, scene.golden ? 1 : 0, g::kSwitchWidth, g::kSwitchHeight, false,
              g::kGoldenSwitch.x, g::kGoldenSwitch.y);
    DrawFrame(cr, images.switchStrip, scene.gate ? 1 : 0, g::kSwitchWidth, g::kSwitchHeight, false,
              g::kPulseSwitch.x, g::kPulseSwitch.y);
    if (scene.play) {
        PaintImageAt(cr, images.playLit, g::kPlayButton.left, g::kPlayButton.top);
    }
    DrawKnob(cr, images.smallKnob, g::kFade, scene.fade.value, scene.fade.text);
    DrawKnob(cr, images.smallKnob, g::kRound, scene.round.value, scene.round.text);
    DrawKnob(cr, images.smallKnob, g::kPan, scene.pan.value, scene.pan.text);
    DrawKnob(cr, images.smallKnob, g::kMix, scene.mix.value, scene.mix.text);

    for (int lfo = 0; lfo < 2; ++lfo) {
        if (scene.sync[lfo]) {
            PaintImageAt(cr, images.syncLit, g::kSyncButton[lfo].left, g::kSyncButton[lfo].top);
        }
        DrawKnob(cr, images.smallKnob, g::kLfoStart[lfo], scene.lfoStart[lfo].value,
                 scene.lfoStart[lfo].text);
        DrawSelector(cr, images.lfoWaveSelector, g::kLfoWave[lfo], 60.0, scene.lfoWaveFrame[lfo],
                     scene.lfoWaveText[lfo]);
        DrawKnob(cr, images.smallKnob, g::kLfoDepth[lfo], scene.lfoDepth[lfo].value,
                 scene.lfoDepth[lfo].text);
        DrawKnob(cr, images.smallKnob, g::kLfoRate[lfo], scene.lfoRate[lfo].value, scene.lfoRate[lfo].text);
        if (scene.marker[lfo] >= 0)
            DrawMarker(cr, g::kIndicatorTrack[lfo], scene.marker[lfo]);
        DrawFrame(cr, images.targetFaces, scene.target[lfo], g::kTargetFaceWidth, g::kTargetFaceHeight, true,
                  g::kTargetFace[lfo].x, g::kTargetFace[lfo].y);
    }
    if (scene.restart) {
        PaintImageAt(cr, images.restartLit, g::kRestartButton.left, g::kRestartButton.top);
    }
    DrawValueText(cr, g::kBandLabel.left, g::kBandLabel.right, g::kBandLabel.bottom, scene.band);
    if (scene.targetOpen) {
        PaintImageAt(cr, images.targetPane, g::kTargetPane[0].x, g::kTargetPane[0].y);
    }
}

} // namespace

int PreviewCount()
{
    return static_cast<int>(std::size(kScenes));
}

Surface ComposePreview(const PanelImages& images, int scene)
{
    Surface surface = MakeSurface(g::kPanelWidth, g::kPanelHeight, false);
    const Context context = MakeContext(surface);
    DrawScene(context.get(), images, kScenes[scene]);
    cairo_surface_flush(surface.get());
    return surface;
}

Surface Enlarge(const Surface& source, int factor)
{
    Surface surface = MakeSurface(SurfaceWidth(source) * factor, SurfaceHeight(source) * factor, false);
    const Context context = MakeContext(surface);
    cairo_t* cr = context.get();
    cairo_scale(cr, factor, factor);
    cairo_set_source_surface(cr, source.get(), 0.0, 0.0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_surface_flush(surface.get());
    return surface;
}

} // namespace artwork
