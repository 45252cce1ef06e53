#include "tools/artwork/background.h"

#include "tools/artwork/button_face.h"
#include "tools/artwork/label_fonts.h"
#include "tools/artwork/palette.h"
#include "tools/artwork/panel_geometry.h"
#include "tools/artwork/shading.h"
#include "tools/artwork/wave_selector.h"
#include "tools/artwork/wave_shapes.h"

#include <array>
#include <cmath>
#include <numbers>
#include <string_view>

namespace artwork {

namespace {

namespace g = geometry;
constexpr double kPi = std::numbers::pi;

const TextStyle kTitleStyle{Face::Title, 9.0, 2.2, palette::kAmber};
const TextStyle kLabelStyle{Face::Label, 8.5, 0.9, palette::kLabel};
const TextStyle kSmallStyle{Face::Label, 7.0, 0.5, palette::kLabelDim};

constexpr Box kToneSection{6, 68, 237, 184};
constexpr Box kPulseSection{240, 68, 544, 184};
constexpr Box kLfoSection{6, 188, 544, 356};
constexpr double kOutputDivider = 426.5;
constexpr double kTitleBaseline = 11.0; // below the top of the upper sections
constexpr Box kBandWindow{236, 214, 314, 318};

void PaintChassis(cairo_t* cr)
{
    cairo_pattern_t* body = cairo_pattern_create_linear(0.0, 0.0, 0.0, g::kPanelHeight);
    AddStop(body, 0.0, palette::kChassisTop);
    AddStop(body, 1.0, palette::kChassisBottom);
    cairo_set_source(cr, body);
    cairo_paint(cr);
    cairo_pattern_destroy(body);
    // Faint horizontal brushing.
    cairo_set_line_width(cr, 1.0);
    for (int y = 0; y < g::kPanelHeight; y += 2) {
        cairo_move_to(cr, 0.0, y + 0.5);
        cairo_line_to(cr, g::kPanelWidth, y + 0.5);
    }
    SetColour(cr, Hex(0xffffff), 0.012);
    cairo_stroke(cr);
}

// Section panel with its title at the top left and a hairline after it.
void PaintSection(cairo_t* cr, const Box& box)
{
    DrawPlate(cr, box, 6.0, palette::kPanelTop, palette::kPanelBottom);
}

void PaintSectionTitle(cairo_t* cr, double x, double baseline, std::string_view title, double ruleEnd)
{
    DrawEngraved(cr, kTitleStyle, x, baseline, title, Align::Left);
    const double ruleStart = x + TextWidth(cr, kTitleStyle, title) + 7.0;
    if (ruleEnd <= ruleStart)
        return;
    cairo_pattern_t* rule = cairo_pattern_create_linear(ruleStart, 0.0, ruleEnd, 0.0);
    AddStop(rule, 0.0, palette::kAmber, 0.45);
    AddStop(rule, 1.0, palette::kAmber, 0.0);
    cairo_set_source(cr, rule);
    cairo_rectangle(cr, ruleStart, baseline - 3.5, ruleEnd - ruleStart, 1.0);
    cairo_fill(cr);
    cairo_pattern_destroy(rule);
}

void PaintVerticalGroove(cairo_t* cr, double x, double top, double bottom)
{
    cairo_set_line_width(cr, 1.0);
    cairo_move_to(cr, x, top);
    cairo_line_to(cr, x, bottom);
    SetColour(cr, palette::kEngraveShadow, 0.55);
    cairo_stroke(cr);
    cairo_move_to(cr, x + 1.0, top);
    cairo_line_to(cr, x + 1.0, bottom);
    SetColour(cr, palette::kPanelEdgeLight, 0.35);
    cairo_stroke(cr);
}

// Eleven marks round a rotating knob from -150 to +150 degrees, the ends
// and the centre longer.
void PaintKnobScale(cairo_t* cr, g::Point centre, double inner, double outer)
{
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i <= 10; ++i) {
        const double angle = (-150.0 + 30.0 * i) * kPi / 180.0;
        const bool major = i == 0 || i == 5 || i == 10;
        const double start = major ? inner : inner + 1.2;
        const double s = std::sin(angle);
        const double c = std::cos(angle);
        cairo_move_to(cr, centre.x + s * start, centre.y - c * start);
        cairo_line_to(cr, centre.x + s * outer, centre.y - c * outer);
        cairo_set_line_width(cr, major ? 1.5 : 1.0);
        SetColour(cr, major ? palette::kLabel : palette::kLabelDim, major ? 0.8 : 0.7);
        cairo_stroke(cr);
    }
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void PaintRotaryKnobPlace(cairo_t* cr, g::Point centre, int capSize, std::string_view label)
{
    const double capRadius = capSize / 2.0 - 2.0;
    DrawRoundShadow(cr, centre.x, centre.y, capRadius);
    PaintKnobScale(cr, centre, capRadius + 2.5, capRadius + 5.5);
    const double labelBaseline = centre.y - capRadius - 8.5;
    DrawEngraved(cr, kLabelStyle, centre.x, labelBaseline, label, Align::Centre);
}

void PaintSelectorPlace(cairo_t* cr, g::Point centre, int frameSize, int positions, std::string_view label,
                        double labelBaseline)
{
    const double radius = SelectorMarkRadius(frameSize);
    for (int i = 0; i < positions; ++i) {
        const double angle = SelectorAngle(i, positions);
        cairo_arc(cr, centre.x + std::sin(angle) * radius, centre.y - std::cos(angle) * radius,
                  SelectorMarkSize(frameSize), 0.0, 2.0 * kPi);
        SetColour(cr, palette::kLabelDim, 0.9);
        cairo_fill(cr);
    }
    DrawEngraved(cr, kLabelStyle, centre.x, labelBaseline, label, Align::Centre);
}

void PaintSwitchPlace(cairo_t* cr, g::Point topLeft, std::string_view label)
{
    DrawEngraved(cr, kLabelStyle, topLeft.x + g::kSwitchWidth / 2.0, topLeft.y - 4.0, label, Align::Centre);
}

void PaintTitlePlate(cairo_t* cr)
{
    const Box plate = g::kTitlePlate;
    DrawPlate(cr, plate, 4.0, Hex(0x3a3f47), Hex(0x23262c));
    // Screws in the corners.
    for (const auto& [x, y] :
         std::array<std::pair<double, double>, 4>{{{plate.left + 6.0, plate.top + 6.0},
                                                   {plate.right - 6.0, plate.top + 6.0},
                                                   {plate.left + 6.0, plate.bottom - 6.0},
                                                   {plate.right - 6.0, plate.bottom - 6.0}}}) {
        cairo_arc(cr, x, y, 2.2, 0.0, 2.0 * kPi);
        SetColour(cr, palette::kEngraveShadow, 0.6);
        cairo_fill(cr);
        cairo_arc(cr, x, y - 0.3, 1.7, 0.0, 2.0 * kPi);
        SetColour(cr, Hex(0x5d636d));
        cairo_fill(cr);
        cairo_move_to(cr, x - 1.2, y + 0.6);
        cairo_line_to(cr, x + 1.2, y - 1.2);
        cairo_set_line_width(cr, 0.8);
        SetColour(cr, palette::kEngraveShadow, 0.7);
        cairo_stroke(cr);
    }
    const double cx = (plate.left + plate.right) / 2.0;
    const TextStyle name{Face::Title, 19.0, 4.5, Hex(0xe4e7ec)};
    DrawEngraved(cr, name, cx + 2.0, plate.top + 28.0, "TESSAPHON", Align::Centre);
    const TextStyle tagline{Face::Label, 7.0, 1.9, palette::kAmber, 0.9};
    DrawText(cr, tagline, cx + 1.0, plate.top + 40.0, "ISOCHRONIC TONE GENERATOR", Align::Centre);
}

// A train of gated tone bursts, the sound the plug-in makes, brightest at
// the end `near` (towards the title plate) and fading away from it.
void PaintPulseMotif(cairo_t* cr, double near, double far, double middle, double halfHeight)
{
    constexpr double kPeriod = 34.0;
    const double direction = far > near ? 1.0 : -1.0;
    const double length = std::fabs(far - near);
    cairo_set_line_width(cr, 1.1);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_new_path(cr);
    for (double along = 0.0; along <= length; along += 0.5) {
        const double phase = std::fmod(along, kPeriod) / kPeriod;
        const double envelope = phase < 0.5 ? std::sin(phase * 2.0 * kPi) : 0.0;
        const double value = envelope * std::sin(along * 0.9);
        cairo_line_to(cr, near + direction * along, middle - value * halfHeight);
    }
    cairo_pattern_t* fade = cairo_pattern_create_linear(near, 0.0, far, 0.0);
    AddStop(fade, 0.0, palette::kAmber, 0.6);
    AddStop(fade, 1.0, palette::kAmber, 0.0);
    cairo_set_source(cr, fade);
    cairo_stroke(cr);
    cairo_pattern_destroy(fade);
}

void PaintHeader(cairo_t* cr)
{
    PaintTitlePlate(cr);
    const TextStyle vendor{Face::Title, 10.0, 3.5, palette::kLabelDim};
    DrawEngraved(cr, vendor, 20.0, 43.0, "KELVO", Align::Left);
    PaintPulseMotif(cr, g::kTitlePlate.left - 10.0, 92.0, 38.5, 10.0);
    PaintPulseMotif(cr, g::kTitlePlate.right + 10.0, 536.0, 38.5, 10.0);
}

void PaintToneSection(cairo_t* cr)
{
    PaintSection(cr, kToneSection);
    PaintSectionTitle(cr, kToneSection.left + 10.0, kToneSection.top + kTitleBaseline, "TONE",
                      kToneSection.right - 10.0);
    PaintRotaryKnobPlace(cr, g::kBaseFreq, g::kLargeKnob, "FREQUENCY");
    PaintRotaryKnobPlace(cr, g::kPulseRate, g::kLargeKnob, "PULSE RATE");
    PaintSelectorPlace(cr, g::kCarrierSelector, g::kCarrierFrame, kCarrierShapes, "WAVE",
                       g::kBaseFreq.y - g::kLargeKnob / 2.0 + 2.0 - 8.5);
}

void PaintPulseSection(cairo_t* cr, const LitButtons& lit)
{
    PaintSection(cr, kPulseSection);
    PaintSectionTitle(cr, kPulseSection.left + 10.0, kPulseSection.top + kTitleBaseline, "PULSE",
                      kOutputDivider - 8.0);
    PaintSectionTitle(cr, kOutputDivider + 10.0, kPulseSection.top + kTitleBaseline, "OUTPUT",
                      kPulseSection.right - 10.0);
    PaintVerticalGroove(cr, kOutputDivider, kPulseSection.top + 8.0, kPulseSection.bottom - 8.0);
    PaintSwitchPlace(cr, g::kGoldenSwitch, "GOLDEN");
    PaintSwitchPlace(cr, g::kPulseSwitch, "GATE");
    PaintButton(cr, g::kPlayButton, "PLAY", ButtonMark::Lamp, lit.play);
    PaintRotaryKnobPlace(cr, g::kFade, g::kSmallKnob, "GLIDE");
    PaintRotaryKnobPlace(cr, g::kRound, g::kSmallKnob, "ROUND");
    PaintRotaryKnobPlace(cr, g::kPan, g::kSmallKnob, "PAN");
    PaintRotaryKnobPlace(cr, g::kMix, g::kSmallKnob, "MIX");
}

void PaintIndicatorTrack(cairo_t* cr, const Box& track)
{
    DrawWell(cr, {track.left - 2.0, track.top - 2.0, track.right + 2.0, track.bottom + 2.0}, 2.0,
             palette::kGlass);
    cairo_rectangle(cr, track.left, track.top, track.Width(), track.Height());
    SetColour(cr, palette::kAmber, 0.10);
    cairo_fill(cr);
    // Quarter marks under the track, where the marker's centre stands.
    for (int i = 0; i <= 4; ++i) {
        const double x = std::floor(track.left + 3.0 + 195.0 * i / 4.0) + 0.5;
        cairo_move_to(cr, x, track.bottom + 4.0);
        cairo_line_to(cr, x, track.bottom + (i % 2 == 0 ? 7.0 : 6.0));
        cairo_set_line_width(cr, 1.0);
        SetColour(cr, palette::kLabelDim, i % 2 == 0 ? 0.9 : 0.6);
        cairo_stroke(cr);
    }
    const double captionBaseline = track.bottom + 14.0;
    DrawText(cr, kSmallStyle, track.left + 3.0, captionBaseline, "MIN", Align::Centre);
    DrawText(cr, kSmallStyle, track.right - 3.0, captionBaseline, "MAX", Align::Centre);
}

void PaintTargetPlace(cairo_t* cr, g::Point face)
{
    DrawWell(
        cr,
        {face.x - 1.0, face.y - 1.0, face.x + g::kTargetFaceWidth + 1.0, face.y + g::kTargetFaceHeight + 1.0},
        3.0, palette::kGlass);
    DrawEngraved(cr, kLabelStyle, face.x - 6.0, face.y + 10.0, "TARGET", Align::Right);
}

void PaintLfo(cairo_t* cr, int lfo, double left, double titleRuleEnd)
{
    const std::string_view title = lfo == 0 ? "LFO 1" : "LFO 2";
    PaintSectionTitle(cr, left, g::kSyncButton[lfo].top + 14.0, title, titleRuleEnd);
    PaintButton(cr, g::kSyncButton[lfo], "SYNC", ButtonMark::Lamp, false);
    PaintTargetPlace(cr, g::kTargetFace[lfo]);
    PaintRotaryKnobPlace(cr, g::kLfoStart[lfo], g::kSmallKnob, "PHASE");
    PaintSelectorPlace(cr, g::kLfoWave[lfo], g::kLfoWaveFrame, kLfoShapes, "WAVE",
                       g::kLfoWave[lfo].y - g::kSmallKnob / 2.0 + 2.0 - 8.5);
    PaintRotaryKnobPlace(cr, g::kLfoDepth[lfo], g::kSmallKnob, "DEPTH");
    PaintRotaryKnobPlace(cr, g::kLfoRate[lfo], g::kSmallKnob, "RATE");
    PaintIndicatorTrack(cr, g::kIndicatorTrack[lfo]);
}

void PaintBandDisplay(cairo_t* cr)
{
    const double cx = (kBandWindow.left + kBandWindow.right) / 2.0;
    DrawEngraved(cr, kTitleStyle, cx + 1.0, g::kSyncButton[0].top + 14.0, "BAND", Align::Centre);
    DrawWell(cr, kBandWindow, 4.0, palette::kGlass);
    struct Band {
        std::string_view name;
        std::string_view range;
    };
    constexpr std::array<Band, 7> kBands = {{{"LAMBDA", "100+"},
                                             {"GAMMA", "30-100"},
                                             {"BETA", "14-30"},
                                             {"ALPHA", "8-14"},
                                             {"THETA", "4-8"},
                                             {"DELTA", "0.5-4"},
                                             {"EPSILON", "< 0.5"}}};
    const TextStyle range{Face::Label, 7.0, 0.3, palette::kLabelDim};
    double baseline = kBandWindow.top + 12.0;
    for (const Band& band : kBands) {
        DrawText(cr, kSmallStyle, kBandWindow.left + 6.0, baseline, band.name, Align::Left);
        DrawText(cr, range, kBandWindow.right - 6.0, baseline, band.range, Align::Right);
        baseline += 10.0;
    }
    // The live band word sits under a hairline.
    cairo_rectangle(cr, kBandWindow.left + 6.0, g::kBandLabel.top - 4.0, kBandWindow.Width() - 12.0, 1.0);
    SetColour(cr, palette::kAmber, 0.3);
    cairo_fill(cr);
}

void PaintLfoSection(cairo_t* cr, const LitButtons& lit)
{
    PaintSection(cr, kLfoSection);
    PaintLfo(cr, 0, kLfoSection.left + 10.0, g::kSyncButton[0].left - 8.0);
    PaintLfo(cr, 1, 326.0, g::kSyncButton[1].left - 8.0);
    PaintBandDisplay(cr);
    PaintButton(cr, g::kRestartButton, "RESTART", ButtonMark::Restart, lit.restart);
}

} // namespace

Surface DrawBackground(const LitButtons& lit)
{
    Surface surface = MakeSurface(g::kPanelWidth, g::kPanelHeight, false);
    const Context context = MakeContext(surface);
    cairo_t* cr = context.get();
    PaintChassis(cr);
    PaintHeader(cr);
    PaintToneSection(cr);
    PaintPulseSection(cr, lit);
    PaintLfoSection(cr, lit);
    cairo_surface_flush(surface.get());
    return surface;
}

} // namespace artwork
