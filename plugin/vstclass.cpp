#include "plugin/vstclass.h"

#include "tessaphon_version.h"

#include <bit>
#include <cstdint>

namespace {

constexpr std::int32_t kUniqueId = vst2::FourCC('y', 'm', 's', 'v');
constexpr std::int32_t kVendorId = vst2::FourCC('K', 'e', 'l', 'v');

} // namespace

IPlugVST* MakePlugin(vst2::HostCallback host)
{
    return new VSTCLASS(host);
}

VSTCLASS::VSTCLASS(vst2::HostCallback host, EditorViewFactory makeView)
    : IPlugVST(host, kNumParams, "1-1 2-2", kNumPrograms, "Tessaphon", "", "Kelvo", tessaphon::kVendorVersion,
               kUniqueId, kVendorId, 0, 0, false, false)
{
    // The weights of the LFO square smoothing add up to exactly 1 with this
    // value (not the float nearest to 0.01).
    squareSmoothIn = std::bit_cast<float>(std::uint32_t{0x3C23D700});
    DefineParameters();
    BuildPanel(makeView);
    MakeFactoryPrograms();
}

VSTCLASS::~VSTCLASS() = default;

void VSTCLASS::DefineParameters()
{
    auto* p = GetParam(kBaseFreq);
    p->DefineReal("Base Freq", 200.0, 20.0, 20000.0, 0.1, "Hz");
    p->SetCurveExponent(2.0);
    GetParam(kIsoRate)->DefineReal("Isochronic", 4.0, 0.01, 512.0, 0.01, "Hz");
    GetParam(kRound)->DefineInteger("Round", 75, 0, 100, "%");

    p = GetParam(kWave);
    p->DefineChoice("Wave", 0, 8, "");
    for (const char* text :
         {"Sine", "Triangle", "Saw", "Square", "Golden Sine", "Sine Half", "Gold. Triangle", "Gold. Square"})
        p->AddDisplayText(p->GetDisplayTextCount(), text);

    GetParam(kPan)->DefineInteger("Pan", 0, -100, 100, "%");

    auto defineSwitch = [this](int index, const char* name, int defaultValue, const char* off,
                               const char* on) {
        IParameter* s = GetParam(index);
        s->DefineChoice(name, defaultValue, 2, "");
        s->AddDisplayText(0, off);
        s->AddDisplayText(1, on);
    };
    defineSwitch(kGoldenIso, "Golden iso", 0, "Off", "On");
    defineSwitch(kIsoSwitch, "Isochronic On", 1, "Off", "On");
    defineSwitch(kPlayAnyway, "Play Anyway", 0, "No", "Yes");

    GetParam(kFade)->DefineInteger("Fade", 1000, 1, 90000, "ms");
    GetParam(kMix)->DefineInteger("Mix", 50, 0, 100, "%");

    static const char* const kTargets[] = {"No Assign", "Base Freq", "Isochronic", "Round", "Pan", "Volume"};
    static const char* const kLfoWaves[] = {"Sine",   "Triangle",  "Saw",      "Saw Flip",
                                            "Square", "Sine Half", "Half Flip"};
    static const char* const kDivisions[] = {
        "1/32", "1/16T", "1/32D", "1/16",  "1/8T", "1/16D", "1/8",   "1/4T",  "1/8D", "1/4",  "1/2T",
        "1/4D", "1/2",   "1/1T",  "1/2D",  "1/1",  "2/1T",  "1/1D",  "2/1",   "4/1T", "2/1D", "4/1",
        "8/1T", "4/1D",  "8/1",   "16/1T", "8/1D", "16/1",  "32/1T", "16/1D", "32/1"};

    struct LfoNames {
        int first;
        const char* target;
        const char* wave;
        const char* sync;
        const char* rate;
        const char* freeRate;
        const char* depth;
        const char* start;
    };
    const LfoNames lfos[] = {
        {kLfo1Target, "LFO1 Target", "LFO1 Wave", "LFO1 Sync", "LFO1 Rate", "LFO1 Free Rate", "LFO1 Depth",
         "LFO1 Start"},
        {kLfo2Target, "LFO2 Target", "LFO2 Wave", "LFO2 Sync", "LFO2 Rate", "LFO2 Free Rate", "LFO2 Depth",
         "LFO2 Start"},
    };
    for (const auto& lfo : lfos) {
        p = GetParam(lfo.first);
        p->DefineChoice(lfo.target, 0, 6, "");
        for (int i = 0; i < 6; ++i)
            p->AddDisplayText(i, kTargets[i]);
        p = GetParam(lfo.first + 1);
        p->DefineChoice(lfo.wave, 0, 7, "");
        for (int i = 0; i < 7; ++i)
            p->AddDisplayText(i, kLfoWaves[i]);
        defineSwitch(lfo.first + 2, lfo.sync, 1, "No", "Yes");
        p = GetParam(lfo.first + 3);
        p->DefineChoice(lfo.rate, 15, 31, "");
        for (int i = 0; i < 31; ++i)
            p->AddDisplayText(i, kDivisions[i]);
        p = GetParam(lfo.first + 4);
        p->DefineInteger(lfo.freeRate, 2000, 60, 64000, "ms");
        p->SetCurveExponent(2.0);
        GetParam(lfo.first + 5)->DefineInteger(lfo.depth, 90, 0, 100, "%");
        GetParam(lfo.first + 6)->DefineInteger(lfo.start, 0, 0, 100, "%");
    }
    // Parameter 24, driven by the panel's hold button, keeps the neutral state
    // of a new parameter; it only gets a name, so that hosts that find
    // parameters by name can tell it apart.
    GetParam(kLfoRestart)->SetName("LFO Restart");
}
