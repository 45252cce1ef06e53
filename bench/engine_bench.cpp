// Cost of the audio path per stereo frame, through the module (processReplacing
// via host::) and through RenderBlock directly, for the default program, each
// carrier wave, the golden pulse, two LFOs, a tempo-locked LFO and the quiet
// path. Each case also runs a floor loop in the same benchmark, block by block
// in alternation with the real render: a loop that evaluates only the sines the
// output needs (gate and carrier only on open samples, one per active LFO) with
// the same phase bookkeeping and mixing arithmetic. The counter "ratio" is the
// case's time over its floor's.

#include "host/plugin_host.h"
#include "plugin/block_state.h"
#include "plugin/vstclass.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kBlock = 512;
constexpr int kBlocksPerIteration = 8;
constexpr double kRate = 48000.0;
constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

enum class Path { Module, Render };

struct Setting {
    int index;
    double value; // real value; every parameter set here has min 0 and a linear mapping
    double max;
};

struct Case {
    const char* name;
    std::vector<Setting> settings;
    bool playing;
};

std::vector<Case> Cases()
{
    std::vector<Case> cases;
    cases.push_back({"default", {}, true});
    static const char* const kWaves[] = {
        "sine", "triangle", "saw", "square", "golden_sine", "sine_half", "golden_triangle", "golden_square"};
    for (int w = 0; w < 8; ++w)
        cases.push_back({kWaves[w], {{kWave, double(w), 7}}, true});
    cases.push_back({"golden_iso", {{kGoldenIso, 1, 1}}, true});
    cases.push_back({"both_lfos",
                     {{kLfo1Sync, 0, 1}, {kLfo1Target, 1, 5}, {kLfo2Sync, 0, 1}, {kLfo2Target, 4, 5}},
                     true});
    cases.push_back({"synced_lfo", {{kLfo1RateSynced, 9, 30}, {kLfo1Target, 2, 5}}, true});
    cases.push_back({"quiet", {}, false});
    return cases;
}

// --- the floor loops -------------------------------------------------------

// The engine's state plus the per-sample steps of the block's ramps.
struct FloorState : BlockState {
    double carrierStep, isoStep;
    float mixStep, panStep;
};

inline double Wrap(double p, double inc)
{
    p += inc;
    if (p >= kTwoPi)
        p -= kTwoPi;
    return p;
}

// Lfo1Target / Lfo2Target: 0 none, 1 carrier increment, 2 pulse increment, 4 pan.
template <int Wave, int Gate, int Lfo1Target, int Lfo2Target>
void FloorLoop(FloorState& s, const double* inL, const double* inR, double* outL, double* outR, int n)
{
    FloorState f = s;
    for (int i = 0; i < n; ++i) {
        if constexpr (Lfo1Target != 0) {
            const double x = f.lfoAmp[0] * std::sin(f.lfoPhase[0]) + f.lfoBase[0];
            f.lfoPhase[0] = Wrap(f.lfoPhase[0], f.lfoInc[0]);
            if constexpr (Lfo1Target == 1)
                f.carrierInc = x;
            else if constexpr (Lfo1Target == 2)
                f.isoInc = x;
            else
                f.panCurrent = static_cast<float>(x);
        }
        if constexpr (Lfo2Target != 0) {
            const double x = f.lfoAmp[1] * std::sin(f.lfoPhase[1]) + f.lfoBase[1];
            f.lfoPhase[1] = Wrap(f.lfoPhase[1], f.lfoInc[1]);
            if constexpr (Lfo2Target == 4)
                f.panCurrent = static_cast<float>(x);
            else
                f.carrierInc = x;
        }
        f.carrierInc += f.carrierStep;
        f.isoInc += f.isoStep;
        f.mixCurrent += f.mixStep;
        f.panCurrent += f.panStep;
        double gate = 1.0;
        if constexpr (Gate == 1)
            gate =
                f.isoPhase < kPi ? f.roundAmount * std::sin(f.isoPhase) + double(1.0f - f.roundAmount) : -1.0;
        else if constexpr (Gate == 2)
            gate =
                f.isoPhase < 2.4001769701020317
                    ? f.roundAmount * std::sin(f.isoPhase * 1.3089004238950945) + double(1.0f - f.roundAmount)
                    : -1.0;
        if constexpr (Gate != 0)
            f.isoPhase = Wrap(f.isoPhase, f.isoInc);
        const double l = inL[i], r = inR[i];
        const double dry = 1.0f - f.mixCurrent;
        if (gate > 1e-24) {
            const double p = f.carrierPhase;
            double w;
            if constexpr (Wave == 0)
                w = std::sin(p);
            else if constexpr (Wave == 1)
                w = p < kPi ? p * 0.6366197723675814 - 1.0 : 3.0 - p * 0.6366197723675814;
            else if constexpr (Wave == 2)
                w = 1.0 - p * 0.3183098861837907;
            else if constexpr (Wave == 3)
                w = p < kPi ? 1.0 : -1.0;
            else if constexpr (Wave == 4)
                w = p < f.goldenSplit ? std::cos(p * f.goldenK1) : std::cos(p * f.goldenK2 + f.goldenK3);
            else if constexpr (Wave == 5)
                w = p < f.goldenSplit ? 2.0 * std::sin(p * f.goldenK1) - 1.0
                                      : 2.0 * std::sin(p * f.goldenK2 + f.goldenK3) - 1.0;
            else if constexpr (Wave == 6)
                w = p < f.goldenSplit ? p * f.goldenK1 - 1.0 : f.goldenK2 - p * f.goldenK3;
            else
                w = p < f.goldenSplit ? 1.0 : -1.0;
            outL[i] = dry * l + double(1.0f - f.panCurrent) * double(f.mixCurrent) * w * gate;
            outR[i] = dry * r + double(1.0f + f.panCurrent) * double(f.mixCurrent) * w * gate;
            f.carrierPhase = Wrap(f.carrierPhase, f.carrierInc);
        } else {
            outL[i] = dry * l;
            outR[i] = dry * r;
            f.carrierPhase = 0.0;
        }
    }
    s = f;
}

void QuietFloor(FloorState& s, const double* inL, const double* inR, double* outL, double* outR, int n)
{
    const double dry = 1.0f - s.mixCurrent;
    for (int i = 0; i < n; ++i) {
        outL[i] = dry * inL[i];
        outR[i] = dry * inR[i];
    }
}

using FloorFn = void (*)(FloorState&, const double*, const double*, double*, double*, int);

template <int Gate, int L1, int L2>
FloorFn FloorFor(int wave)
{
    static const FloorFn table[] = {&FloorLoop<0, Gate, L1, L2>, &FloorLoop<1, Gate, L1, L2>,
                                    &FloorLoop<2, Gate, L1, L2>, &FloorLoop<3, Gate, L1, L2>,
                                    &FloorLoop<4, Gate, L1, L2>, &FloorLoop<5, Gate, L1, L2>,
                                    &FloorLoop<6, Gate, L1, L2>, &FloorLoop<7, Gate, L1, L2>};
    return table[wave];
}

FloorFn ChooseFloor(const VSTCLASS& p, bool quiet)
{
    if (quiet)
        return &QuietFloor;
    const int gate = !p.isochronicOn ? 0 : p.goldenIso ? 2 : 1;
    const int l1 = p.lfoActive[0] ? p.lfoTarget[0] : 0;
    const int l2 = p.lfoActive[1] ? p.lfoTarget[1] : 0;
    if (l1 == 1 && l2 == 4)
        return gate == 1 ? FloorFor<1, 1, 4>(p.wave) : nullptr;
    if (l1 == 2 && l2 == 0)
        return gate == 1 ? FloorFor<1, 2, 0>(p.wave) : nullptr;
    if (l1 == 0 && l2 == 0)
        return gate == 2 ? FloorFor<2, 0, 0>(p.wave) : FloorFor<1, 0, 0>(p.wave);
    return nullptr;
}

FloorState FloorFrom(const VSTCLASS& p)
{
    FloorState f{};
    static_cast<BlockState&>(f) = BlockStateOf(p);
    return f;
}

// --- the host side ---------------------------------------------------------

struct BenchHost {
    static inline bool playing = true;
    static std::intptr_t Callback(vst2::EffectDescriptor*, std::int32_t opcode, std::int32_t, std::intptr_t,
                                  void*, float)
    {
        static vst2::TimeInfo info{};
        if (opcode != vst2::kHostGetTime)
            return 0;
        info = {};
        info.tempo = 120.0;
        info.flags = vst2::kTimeTempoValid | (playing ? vst2::kTimeTransportPlaying : 0);
        return reinterpret_cast<std::intptr_t>(&info);
    }
};

host::PluginModule& Module()
{
    static std::unique_ptr<host::PluginModule> module = [] {
        std::string error;
        auto m = host::PluginModule::Open(TESSAPHON_MODULE_PATH, error);
        if (!m)
            std::fprintf(stderr, "%s\n", error.c_str());
        return m;
    }();
    return *module;
}

double ThreadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void RunCase(benchmark::State& state, const Case& c, Path path)
{
    BenchHost::playing = c.playing;
    // The engine itself, set up like the module's instance, also feeds the floor.
    VSTCLASS plug(&BenchHost::Callback);
    plug.Dispatch(vst2::kOpOpen, 0, 0, nullptr, 0.0f);
    plug.Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
    plug.Dispatch(vst2::kOpSetBlockSize, 0, kBlock, nullptr, 0.0f);
    plug.Dispatch(vst2::kOpProcessingOnOff, 0, 1, nullptr, 0.0f);
    for (const Setting& s : c.settings) {
        plug.GetParam(s.index)->SetClamped(s.value);
        plug.ParameterChanged(s.index);
    }

    host::HostState hostState;
    hostState.SetTempo(120.0);
    hostState.SetPlaying(c.playing);
    std::unique_ptr<host::PluginInstance> instance;
    if (path == Path::Module) {
        std::string error;
        instance = host::PluginInstance::Create(Module(), hostState, error);
        if (!instance) {
            state.SkipWithError(error.c_str());
            return;
        }
        instance->Start(kRate, kBlock);
        for (const Setting& s : c.settings)
            instance->SetParameter(s.index, static_cast<float>(s.value / s.max));
    }

    std::vector<double> inL(kBlock), inR(kBlock), outL(kBlock), outR(kBlock);
    std::vector<float> finL(kBlock), finR(kBlock), foutL(kBlock), foutR(kBlock);
    for (int i = 0; i < kBlock; ++i) {
        inL[i] = finL[i] = static_cast<float>(0.1 * std::sin(i * 0.05));
        inR[i] = finR[i] = static_cast<float>(0.1 * std::cos(i * 0.03));
    }
    double* ins[2] = {inL.data(), inR.data()};
    double* outs[2] = {outL.data(), outR.data()};
    float* fins[2] = {finL.data(), finR.data()};
    float* fouts[2] = {foutL.data(), foutR.data()};

    // Past the first block and the fade so the loop runs on settled values.
    for (int i = 0; i < 200; ++i) {
        plug.RenderBlock(ins, outs, kBlock);
        if (instance)
            instance->ProcessReplacing(fins, fouts, kBlock);
    }
    const FloorFn floor = ChooseFloor(plug, !c.playing);
    if (!floor) {
        state.SkipWithError("no floor loop for this set-up");
        return;
    }
    FloorState floorState = FloorFrom(plug);

    double caseSeconds = 0.0, floorSeconds = 0.0;
    for (auto _ : state) {
        // Thread CPU time: the machine is shared, and time spent descheduled
        // would land on whichever loop happened to be running.
        const double t0 = ThreadSeconds();
        for (int b = 0; b < kBlocksPerIteration; ++b) {
            if (instance)
                instance->ProcessReplacing(fins, fouts, kBlock);
            else
                plug.RenderBlock(ins, outs, kBlock);
            benchmark::DoNotOptimize(outL.data());
            benchmark::DoNotOptimize(foutL.data());
            benchmark::ClobberMemory();
        }
        const double t1 = ThreadSeconds();
        for (int b = 0; b < kBlocksPerIteration; ++b) {
            floor(floorState, inL.data(), inR.data(), outL.data(), outR.data(), kBlock);
            benchmark::DoNotOptimize(outL.data());
            benchmark::ClobberMemory();
        }
        const double t2 = ThreadSeconds();
        caseSeconds += t1 - t0;
        floorSeconds += t2 - t1;
        state.SetIterationTime(t1 - t0);
    }
    const double frames = static_cast<double>(state.iterations()) * kBlocksPerIteration * kBlock;
    state.counters["ns_per_frame"] = caseSeconds * 1e9 / frames;
    state.counters["floor_ns_per_frame"] = floorSeconds * 1e9 / frames;
    state.counters["ratio"] = floorSeconds > 0.0 ? caseSeconds / floorSeconds : 0.0;
    state.SetItemsProcessed(static_cast<std::int64_t>(frames));
}

const bool registered = [] {
    static const std::vector<Case> cases = Cases();
    for (const Case& c : cases)
        for (Path path : {Path::Render, Path::Module}) {
            const std::string name = std::string(path == Path::Module ? "module/" : "render/") + c.name;
            benchmark::RegisterBenchmark(name.c_str(),
                                         [&c, path](benchmark::State& s) { RunCase(s, c, path); })
                ->UseManualTime()
                ->Unit(benchmark::kMicrosecond);
        }
    return true;
}();

} // namespace

BENCHMARK_MAIN();
