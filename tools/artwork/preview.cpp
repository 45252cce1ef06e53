#include "tools/artwork/preview.h"

#include "tools/artwork/label_fonts.h"
#include "tools/artwork/palette.h"
#include "tools/artwork/panel_geometry.h"

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

void DrawSelector(cairo_t* cr, const Surface& strip, int frames, g::Point centre, double areaWidth, int frame,
                  std::string_view text)
{
    const int frameSize = SurfaceHeight(strip);
    (void)frames;
    DrawFrame(cr, strip, frame, frameSize, frameSize, false, centre.x - frameSize / 2.0,
              centre.y - frameSize / 2.0);
    const double bottom = centre.y + frameSize / 2.0 + g::kValueTextHeight + g::kValueTextGap;
    DrawValueText(cr, centre.x - areaWidth / 2.0, centre.x + areaWidth / 2.0, bottom, text);
}

void DrawMarker(cairo_t* cr, const g::Box& track, int offset)
{
    cairo_rectangle(cr, track.left + offset, track.top, 6.0, 2.0);
    cairo_set_source_rgba(cr, 1.0, 1.0, 1.0, 150.0 / 255.0);
    cairo_fill(cr);
}

} // namespace

Surface ComposePreview(const PanelImages& images)
{
    Surface surface = MakeSurface(g::kPanelWidth, g::kPanelHeight, false);
    const Context context = MakeContext(surface);
    cairo_t* cr = context.get();
    cairo_set_source_surface(cr, images.background.get(), 0.0, 0.0);
    cairo_paint(cr);

    DrawKnob(cr, images.largeKnob, g::kBaseFreq, 0.3, "200.0 Hz");
    DrawKnob(cr, images.largeKnob, g::kPulseRate, 0.62, "4.00 Hz");
    DrawSelector(cr, images.carrierSelector, 8, g::kCarrierSelector, 80.0, 4, "Golden Sine");
    DrawFrame(cr, images.switchStrip, 1, g::kSwitchWidth, g::kSwitchHeight, false, g::kGoldenSwitch.x,
              g::kGoldenSwitch.y);
    DrawFrame(cr, images.switchStrip, 0, g::kSwitchWidth, g::kSwitchHeight, false, g::kPulseSwitch.x,
              g::kPulseSwitch.y);
    cairo_set_source_surface(cr, images.playLit.get(), g::kPlayButton.left, g::kPlayButton.top);
    cairo_paint(cr);
    DrawKnob(cr, images.smallKnob, g::kFade, 0.12, "1000 ms");
    DrawKnob(cr, images.smallKnob, g::kRound, 0.75, "75 %");
    DrawKnob(cr, images.smallKnob, g::kPan, 0.5, "0 %");
    DrawKnob(cr, images.smallKnob, g::kMix, 1.0, "100 %");

    cairo_set_source_surface(cr, images.syncLit.get(), g::kSyncButton[0].left, g::kSyncButton[0].top);
    cairo_paint(cr);
    DrawKnob(cr, images.smallKnob, g::kLfoStart[0], 0.0, "0 %");
    DrawSelector(cr, images.lfoWaveSelector, 7, g::kLfoWave[0], 60.0, 0, "Sine");
    DrawKnob(cr, images.smallKnob, g::kLfoDepth[0], 0.9, "90 %");
    DrawKnob(cr, images.smallKnob, g::kLfoRate[0], 0.5, "1/1");
    DrawKnob(cr, images.smallKnob, g::kLfoStart[1], 0.25, "25 %");
    DrawSelector(cr, images.lfoWaveSelector, 7, g::kLfoWave[1], 60.0, 3, "Saw Flip");
    DrawKnob(cr, images.smallKnob, g::kLfoDepth[1], 0.6, "60 %");
    DrawKnob(cr, images.smallKnob, g::kLfoRate[1], 0.8, "8/1D");
    DrawMarker(cr, g::kIndicatorTrack[0], 120);
    DrawMarker(cr, g::kIndicatorTrack[1], 40);
    DrawValueText(cr, g::kBandLabel.left, g::kBandLabel.right, g::kBandLabel.bottom, "THETA");

    DrawFrame(cr, images.targetFaces, 5, g::kTargetFaceWidth, g::kTargetFaceHeight, true, g::kTargetFace[1].x,
              g::kTargetFace[1].y);
    DrawFrame(cr, images.targetFaces, 2, g::kTargetFaceWidth, g::kTargetFaceHeight, true, g::kTargetFace[0].x,
              g::kTargetFace[0].y);
    cairo_set_source_surface(cr, images.targetPane.get(), g::kTargetPane[0].x, g::kTargetPane[0].y);
    cairo_paint(cr);
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
