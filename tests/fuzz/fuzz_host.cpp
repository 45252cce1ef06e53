#include "fuzz_host.h"

#include "vst2/iplug_vst.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace fuzz {

std::uint8_t Bytes::U8()
{
    return pos < size ? data[pos++] : 0;
}

std::uint16_t Bytes::U16()
{
    const std::uint16_t lo = U8();
    return static_cast<std::uint16_t>(lo | (U8() << 8));
}

std::uint32_t Bytes::U32()
{
    const std::uint32_t lo = U16();
    return lo | (static_cast<std::uint32_t>(U16()) << 16);
}

std::uint64_t Bytes::U64()
{
    const std::uint64_t lo = U32();
    return lo | (static_cast<std::uint64_t>(U32()) << 32);
}

std::span<const std::uint8_t> Bytes::Take(std::size_t n)
{
    const std::size_t count = std::min(n, size - std::min(pos, size));
    std::span<const std::uint8_t> taken(data + std::min(pos, size), count);
    pos += count;
    return taken;
}

std::string Bytes::Text(std::size_t maxLength)
{
    const std::size_t length = std::min<std::size_t>(U8(), maxLength);
    const auto bytes = Take(length);
    std::string text(bytes.begin(), bytes.end());
    // The host hands over zero-terminated texts: anything after a zero is not part of it.
    text.resize(std::strlen(text.c_str()));
    return text;
}

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "finding: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

HostAnswers& Answers()
{
    static HostAnswers answers;
    return answers;
}

namespace {

std::intptr_t HostCallback(vst2::EffectDescriptor*, std::int32_t opcode, std::int32_t, std::intptr_t,
                           void* ptr, float)
{
    HostAnswers& answers = Answers();
    switch (opcode) {
    case vst2::kHostVersion:
        return 2400;
    case vst2::kHostGetTime:
        return answers.answersTime ? reinterpret_cast<std::intptr_t>(&answers.time) : 0;
    case vst2::kHostGetProductString:
        // The interface gives the plug-in a field of 64 characters.
        if (ptr) {
            const std::size_t n = std::min<std::size_t>(answers.product.size(), 63);
            std::memcpy(ptr, answers.product.data(), n);
            static_cast<char*>(ptr)[n] = '\0';
        }
        return 1;
    case vst2::kHostGetVendorVersion:
        return answers.vendorVersion;
    default:
        return 0;
    }
}

void ResetAnswers()
{
    HostAnswers& answers = Answers();
    answers = HostAnswers{};
    answers.time.sampleRate = 48000.0;
    answers.time.tempo = 120.0;
    answers.time.timeSigNumerator = 4;
    answers.time.timeSigDenominator = 4;
    answers.time.flags = vst2::kTimeTempoValid | vst2::kTimeSignatureValid | vst2::kTimeTransportPlaying;
}

constexpr int kMaxRenderFrames = 1 << 17;

void RequireFinite(const double* samples, int frames)
{
    for (int i = 0; i < frames; ++i)
        if (!std::isfinite(samples[i]))
            Fail("an output sample is not finite");
}

void RequireFinite(const float* samples, int frames)
{
    for (int i = 0; i < frames; ++i)
        if (!std::isfinite(samples[i]))
            Fail("an output sample is not finite");
}

} // namespace

Instance::Instance()
{
    ResetAnswers();
    effect = vst2::CreateEffect(HostCallback);
    if (!effect || effect->magic != vst2::kEffectMagic)
        Fail("the entry point returned no plug-in");
}

Instance::~Instance()
{
    effect->dispatcher(effect, vst2::kOpClose, 0, 0, nullptr, 0.0f);
}

std::intptr_t Instance::Dispatch(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                                 float opt)
{
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

namespace {

EngineState& EngineOf(vst2::EffectDescriptor* effect)
{
    auto* engine = dynamic_cast<EngineState*>(IPlugVST::FromDescriptor(effect));
    if (!engine)
        Fail("the plug-in has no engine state");
    return *engine;
}

} // namespace

void Instance::Start(float sampleRate, std::intptr_t blockSize)
{
    Dispatch(vst2::kOpOpen);
    Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, sampleRate);
    Dispatch(vst2::kOpSetBlockSize, 0, blockSize);
    Dispatch(vst2::kOpProcessingOnOff, 0, 1);
    IPlugVST* plug = IPlugVST::FromDescriptor(effect);
    startRate = sampleRate;
    startBlockSize = blockSize;
    startBank.Take(*plug);
    startEngine = EngineOf(effect);
}

bool Instance::Restore()
{
    ResetAnswers();
    Dispatch(vst2::kOpProcessingOnOff, 0, 0);
    Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, startRate);
    Dispatch(vst2::kOpSetBlockSize, 0, startBlockSize);
    vst2::SpeakerArrangement stereo{};
    stereo.numChannels = 2;
    Dispatch(vst2::kOpSetSpeakerArrangement, 0, reinterpret_cast<std::intptr_t>(&stereo), &stereo);
    if (!startBank.Restore(*IPlugVST::FromDescriptor(effect)))
        return false;
    Dispatch(vst2::kOpProcessingOnOff, 0, 1);
    // The engine's running values as started; the panel's indicators stay
    // those of the editor as it is now.
    EngineState& engine = EngineOf(effect);
    EngineState started = startEngine;
    std::copy(std::begin(engine.lfoDisplay), std::end(engine.lfoDisplay), std::begin(started.lfoDisplay));
    started.isoDisplay = engine.isoDisplay;
    engine = started;
    return true;
}

void BankSnapshot::Take(IPlugBase& plug)
{
    program = plug.CurrentProgram();
    slots.clear();
    for (int i = 0; i < plug.NPrograms(); ++i) {
        const IProgram* slot = plug.GetProgram(i);
        const auto bytes = slot->data.Bytes();
        slots.push_back({slot->initialised, slot->name, {bytes.begin(), bytes.end()}});
    }
}

bool BankSnapshot::Restore(IPlugBase& plug) const
{
    for (std::size_t i = 0; i < slots.size(); ++i) {
        IProgram* slot = plug.GetProgram(static_cast<int>(i));
        const Slot& start = slots[i];
        const auto bytes = slot->data.Bytes();
        if (slot->initialised == start.initialised && start.name == slot->name &&
            std::equal(bytes.begin(), bytes.end(), start.data.begin(), start.data.end()))
            continue;
        slot->initialised = start.initialised;
        std::memset(slot->name, 0, sizeof slot->name);
        std::memcpy(slot->name, start.name.data(), start.name.size());
        slot->data.SetSize(0, false);
        slot->data.AppendBytes(start.data.data(), static_cast<int>(start.data.size()));
    }
    return plug.SelectProgram(program);
}

void Instance::Render(int mode, int frames)
{
    // One second of a quiet stereo test signal, made once; outputs start silent.
    static const std::vector<double> signal = [] {
        std::vector<double> s(kMaxRenderFrames);
        for (std::size_t i = 0; i < s.size(); ++i)
            s[i] = 0.25 * std::sin(0.01 * static_cast<double>(i));
        return s;
    }();
    frames = std::clamp(frames, 0, kMaxRenderFrames);
    const auto n = static_cast<std::size_t>(frames) + 1; // never an empty vector
    if (mode == 2) {
        std::vector<double> inL(signal.begin(), signal.begin() + frames), inR(n, 0.0), outL(n, 0.0),
            outR(n, 0.0);
        inL.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            inR[i] = -inL[i];
        double* in[2] = {inL.data(), inR.data()};
        double* out[2] = {outL.data(), outR.data()};
        effect->processDoubleReplacing(effect, in, out, frames);
        RequireFinite(outL.data(), frames);
        RequireFinite(outR.data(), frames);
        return;
    }
    std::vector<float> inL(n, 0.0f), inR(n, 0.0f), outL(n, 0.0f), outR(n, 0.0f);
    for (int i = 0; i < frames; ++i) {
        inL[static_cast<std::size_t>(i)] = static_cast<float>(signal[static_cast<std::size_t>(i)]);
        inR[static_cast<std::size_t>(i)] = -inL[static_cast<std::size_t>(i)];
    }
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    if (mode == 0)
        effect->process(effect, in, out, frames);
    else
        effect->processReplacing(effect, in, out, frames);
    RequireFinite(outL.data(), frames);
    RequireFinite(outR.data(), frames);
}

std::vector<std::uint8_t> Instance::GetChunk(bool bank)
{
    void* data = nullptr;
    const std::intptr_t size = Dispatch(vst2::kOpGetChunk, bank ? 0 : 1, 0, &data);
    if (size < 0 || (size > 0 && !data))
        Fail("get chunk answered a size without data");
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return std::vector<std::uint8_t>(bytes, bytes + size);
}

bool Instance::SetChunk(bool bank, std::span<const std::uint8_t> bytes)
{
    // A copy of exactly the given size, so that any read past it is caught.
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    std::uint8_t empty = 0;
    void* ptr = copy.empty() ? &empty : copy.data();
    return Dispatch(vst2::kOpSetChunk, bank ? 0 : 1, static_cast<std::intptr_t>(copy.size()), ptr) == 1;
}

void Instance::CheckParameters()
{
    for (int i = 0; i < effect->numParams; ++i) {
        const float v = effect->getParameter(effect, i);
        if (!(v >= 0.0f && v <= 1.0f))
            Fail("a parameter reads back outside 0 .. 1");
        std::vector<char> text(32, '\x7f');
        Dispatch(vst2::kOpGetParamDisplay, i, 0, text.data());
        if (std::find(text.begin(), text.end(), '\0') == text.end())
            Fail("a display text has no terminator inside its field");
    }
}

namespace {

constexpr int kKeptSlots = 2;
std::unique_ptr<Instance> kept[kKeptSlots];

} // namespace

bool EveryInputFresh()
{
    static const bool fresh = std::getenv("TESSAPHON_FUZZ_FRESH") != nullptr;
    return fresh;
}

Instance& PreparedInstance(float sampleRate, std::intptr_t blockSize, int slot)
{
    if (slot < 0 || slot >= kKeptSlots)
        Fail("no such kept instance");
    std::unique_ptr<Instance>& instance = kept[slot];
    if (instance && !EveryInputFresh() && instance->Restore())
        return *instance;
    instance.reset(); // the old instance closes before the new one opens
    instance = std::make_unique<Instance>();
    instance->Start(sampleRate, blockSize);
    return *instance;
}

} // namespace fuzz
