#pragma once

// Where the editor's controls sit on the 550 x 365 panel, in pixels. The
// artwork draws its labels, scales and unlit faces around these places.
namespace artwork::geometry {

constexpr int kPanelWidth = 550;
constexpr int kPanelHeight = 365;

struct Point {
    double x;
    double y;
};

struct Box {
    double left;
    double top;
    double right;
    double bottom;
    constexpr double Width() const { return right - left; }
    constexpr double Height() const { return bottom - top; }
};

// Image sizes.
constexpr int kLargeKnob = 58;
constexpr int kSmallKnob = 40;
constexpr int kCarrierFrame = 58;
constexpr int kLfoWaveFrame = 40;
constexpr int kSwitchWidth = 27;
constexpr int kSwitchHeight = 16;
constexpr int kTargetFaceWidth = 80;
constexpr int kTargetFaceHeight = 14;
constexpr int kTargetPaneWidth = 90;
constexpr int kTargetPaneHeight = 109;
constexpr int kTargets = 6;

// Rotating knobs (cap centres) and the carrier selector.
constexpr Point kBaseFreq{49, 130};
constexpr Point kPulseRate{125, 130};
constexpr Point kCarrierSelector{201, 130};
constexpr Point kFade{347, 129};
constexpr Point kRound{400, 129};
constexpr Point kPan{453, 129};
constexpr Point kMix{506, 129};

// The two LFO rows: start, wave selector, depth, rate.
constexpr Point kLfoStart[2] = {{45, 279}, {349, 279}};
constexpr Point kLfoWave[2] = {{97, 279}, {401, 279}};
constexpr Point kLfoDepth[2] = {{149, 279}, {453, 279}};
constexpr Point kLfoRate[2] = {{201, 279}, {505, 279}};

// Switches (top-left corners) and buttons (their faces).
constexpr Point kGoldenSwitch{261, 95};
constexpr Point kPulseSwitch{261, 131};
constexpr Box kPlayButton{243, 154, 311, 177};
constexpr Box kSyncButton[2] = {{183, 196, 231, 217}, {487, 196, 535, 217}};
constexpr Box kRestartButton{235, 323, 315, 346};

// LFO target lists: the closed face and the pane that opens below it.
constexpr Point kTargetFace[2] = {{84, 217}, {388, 217}};
constexpr Point kTargetPane[2] = {{84, 230}, {388, 230}};

// Displays drawn by the editor on top of the artwork.
constexpr Box kIndicatorTrack[2] = {{22, 324, 223, 326}, {326, 324, 527, 326}};
constexpr Box kBandLabel{233, 298, 317, 313};
constexpr Box kTitlePlate{178, 15, 370, 62};

// The value text strips under the knobs stay free of artwork.
constexpr double kValueTextHeight = 15;
constexpr double kValueTextGap = 5;

} // namespace artwork::geometry
