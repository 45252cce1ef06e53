#include "core/iplug_base.h"

#include "core/bounded_string.h"
#include "core/byte_reader.h"
#include "core/editor_link.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void FormatSlotName(char* out, std::size_t outSize, int number)
{
    std::snprintf(out, outSize, "- %d -", number);
}

bool OverlapsBuffer(const StateBuffer& buffer, const void* bytes, int count)
{
    if (!buffer.Data() || count <= 0)
        return false;
    const auto begin = reinterpret_cast<std::uintptr_t>(buffer.Data());
    const auto end = begin + static_cast<std::uintptr_t>(buffer.Capacity());
    const auto first = reinterpret_cast<std::uintptr_t>(bytes);
    const auto last = first + static_cast<std::uintptr_t>(count);
    return first < end && begin < last;
}

} // namespace

IPlugBase::IPlugBase(int paramCount, const char* channelConfig, int programCount, const char* effect,
                     const char* product, const char* vendor, int version, std::int32_t unique,
                     std::int32_t vendorCode, int latencySamples, int midi, bool chunks, bool instrument)
    : vendorVersion(version), uniqueId(unique), vendorId(vendorCode), latency(latencySamples), midiMode(midi),
      usesChunks(chunks), isInstrument(instrument)
{
    for (int i = 0; i < paramCount; ++i)
        params.push_back(std::make_unique<IParameter>());
    for (int i = 0; i < programCount; ++i) {
        auto program = std::make_unique<IProgram>();
        FormatSlotName(program->name, sizeof program->name, i + 1);
        programs.push_back(std::move(program));
    }
    CopyText(effectName, sizeof effectName, effect);
    CopyText(productName, sizeof productName, product);
    CopyText(vendorName, sizeof vendorName, vendor);
    ParseChannelConfig(channelConfig);
}

IPlugBase::~IPlugBase()
{
    editor.reset();
    while (!params.empty())
        params.pop_back();
    while (!programs.empty())
        programs.pop_back();
    while (!inputChannels.empty())
        inputChannels.pop_back();
    while (!outputChannels.empty())
        outputChannels.pop_back();
}

void IPlugBase::ParseChannelConfig(const char* text)
{
    int maxIn = 0;
    int maxOut = 0;
    const char* p = text;
    while (p && *p) {
        ChannelIOConfig config;
        int in = 0;
        int out = 0;
        // "%d-%d": a count that cannot be read stays 0.
        std::sscanf(p, "%d-%d", &in, &out);
        config.inputs = std::clamp(in, 0, 64);
        config.outputs = std::clamp(out, 0, 64);
        channelConfigs.push_back(config);
        maxIn = std::max(maxIn, config.inputs);
        maxOut = std::max(maxOut, config.outputs);
        p = std::strchr(p, ' ');
        if (p)
            ++p;
    }
    inputPointers.assign(static_cast<std::size_t>(maxIn), nullptr);
    outputPointers.assign(static_cast<std::size_t>(maxOut), nullptr);
    for (int i = 0; i < maxIn; ++i) {
        auto channel = std::make_unique<InputChannel>();
        channel->slot = i;
        inputChannels.push_back(std::move(channel));
    }
    for (int i = 0; i < maxOut; ++i) {
        auto channel = std::make_unique<OutputChannel>();
        channel->slot = i;
        outputChannels.push_back(std::move(channel));
    }
}

void IPlugBase::ResetEngine()
{
    LockGuard guard(lock);
}

void IPlugBase::ParameterChanged(int)
{
    LockGuard guard(lock);
}

void IPlugBase::ActivationChanged(bool)
{
    LockGuard guard(lock);
}

void IPlugBase::RenderBlock(double** in, double** out, int frames)
{
    if (frames <= 0)
        return;
    const int nIn = NInputs();
    const int nOut = NOutputs();
    const int copied = std::min(nIn, nOut);
    const auto n = static_cast<std::size_t>(frames);
    for (int c = 0; c < copied; ++c)
        if (out[c] != in[c])
            std::memmove(out[c], in[c], n * sizeof(double));
    for (int c = copied; c < nOut; ++c)
        std::fill(out[c], out[c] + n, 0.0);
}

bool IPlugBase::GetMidiNoteName(int, char* text)
{
    if (text)
        text[0] = '\0';
    return false;
}

void IPlugBase::GetHostTimeSignature(int& numerator, int& denominator)
{
    numerator = 0;
    denominator = 0;
}

bool IPlugBase::EmitMidiMessages(const MidiMessage* list, int count)
{
    bool all = true;
    for (int i = 0; list && i < count; ++i)
        all = EmitMidiMessage(list[i]) && all;
    return all;
}

void IPlugBase::AttachEditor(EditorLink* view)
{
    if (!view)
        return;
    LockGuard guard(lock);
    for (int i = 0; i < NParams(); ++i)
        view->UpdateControlsForParameter(i, params[static_cast<std::size_t>(i)]->ReadNormalized(), true);
    view->createCanvas();
    editor.reset(view);
}

void IPlugBase::DeferParamEditEnd(int index)
{
    LockGuard guard(lock);
    if (editor) {
        pendingParamEdit = index;
        editor->armEndEditCountdown(std::max(1, editor->FrameRate() / 2));
    } else {
        EndParamEdit(index);
    }
}

void IPlugBase::FlushPendingParamEdit()
{
    LockGuard guard(lock);
    if (editor)
        editor->clearEndEditCountdown();
    if (pendingParamEdit >= 0) {
        const int index = pendingParamEdit;
        pendingParamEdit = -1;
        EndParamEdit(index);
    }
}

void IPlugBase::SetParameterFromEditor(int index, double normalized)
{
    LockGuard guard(lock);
    IParameter* param = GetParam(index);
    if (!param || !std::isfinite(normalized))
        return;
    param->WriteNormalized(normalized);
    AutomateParam(index, normalized);
    ParameterChanged(index);
}

template <typename F>
void IPlugBase::ForEachScratch(F&& f)
{
    for (auto& c : inputChannels)
        f(c->scratch);
    for (auto& c : outputChannels)
        f(c->scratch);
}

void IPlugBase::ChangeBlockSize(int frames)
{
    // A block size that is not positive, or whose buffers cannot be had, is
    // refused and the previous one kept.
    if (frames == blockSize || frames <= 0 || frames > INT_MAX / 8)
        return;
    const int bytes = frames * 8;
    bool ok = true;
    ForEachScratch([&](StateBuffer& b) {
        b.SetSize(bytes, true);
        ok = ok && b.Size() == bytes;
    });
    if (ok)
        blockSize = frames;
    const int kept = blockSize * 8;
    ForEachScratch([&](StateBuffer& b) {
        b.SetSize(kept, true);
        if (b.Size() > 0)
            std::memset(b.Data(), 0, static_cast<std::size_t>(b.Size()));
    });
    for (auto& c : inputChannels)
        if (!c->connected)
            inputPointers[static_cast<std::size_t>(c->slot)] = c->Samples();
    for (auto& c : outputChannels)
        if (!c->connected)
            outputPointers[static_cast<std::size_t>(c->slot)] = c->Samples();
}

IParameter* IPlugBase::GetParam(int index)
{
    if (index < 0 || index >= NParams())
        return nullptr;
    return params[static_cast<std::size_t>(index)].get();
}

const IParameter* IPlugBase::GetParam(int index) const
{
    if (index < 0 || index >= NParams())
        return nullptr;
    return params[static_cast<std::size_t>(index)].get();
}

IProgram* IPlugBase::GetProgram(int index)
{
    if (index < 0 || index >= NPrograms())
        return nullptr;
    return programs[static_cast<std::size_t>(index)].get();
}

void IPlugBase::MakeProgram(const char* name, std::span<const double> values)
{
    IProgram* slot = nullptr;
    for (auto& p : programs)
        if (!p->initialised) {
            slot = p.get();
            break;
        }
    if (!slot)
        return;
    slot->initialised = true;
    CopyText(slot->name, sizeof slot->name, name);
    for (int i = 0; i < NParams(); ++i) {
        const double v =
            static_cast<std::size_t>(i) < values.size() ? values[static_cast<std::size_t>(i)] : 0.0;
        // Integral kinds take their value as a 32-bit integer.
        const double stored = params[static_cast<std::size_t>(i)]->IsIntegral() ? SaturatingTrunc(v) : v;
        slot->data.AppendDouble(stored);
    }
}

void IPlugBase::MakeDefaultPrograms(const char* name, int count)
{
    for (int n = 0; n < count; ++n) {
        for (auto& p : programs) {
            if (p->initialised)
                continue;
            p->initialised = true;
            CopyText(p->name, sizeof p->name, name ? name : "Default");
            StoreParams(p->data);
            break;
        }
    }
}

void IPlugBase::EnsureAtLeastOneProgram()
{
    if (!programs.empty())
        return;
    auto program = std::make_unique<IProgram>();
    FormatSlotName(program->name, sizeof program->name, 1);
    programs.push_back(std::move(program));
    MakeDefaultPrograms("Default", 1);
}

void IPlugBase::MakeUserPresetName(char* out, std::size_t outSize) const
{
    int count = 0;
    for (const auto& p : programs)
        if (std::strstr(p->name, "user preset"))
            ++count;
    std::snprintf(out, outSize, "%s %d", "user preset", count + 1);
}

const char* IPlugBase::GetProgramName(int index) const
{
    if (index < 0 || index >= NPrograms())
        return "";
    return programs[static_cast<std::size_t>(index)]->name;
}

void IPlugBase::StoreCurrentProgram(const char* newName)
{
    IProgram* slot = GetProgram(currentProgram);
    if (!slot)
        return;
    RewriteSlot(*slot);
    if (newName && newName[0])
        CopyText(slot->name, sizeof slot->name, newName);
}

bool IPlugBase::SelectProgram(int index)
{
    IProgram* slot = GetProgram(index);
    if (!slot)
        return false;
    bool ok;
    if (slot->initialised) {
        ok = RestoreParams(slot->data.Bytes(), 0) > 0;
    } else {
        slot->initialised = true;
        MakeUserPresetName(slot->name, sizeof slot->name);
        ok = RewriteSlot(*slot);
    }
    if (ok) {
        currentProgram = index;
        PushParametersToEditor();
    }
    return ok;
}

void IPlugBase::PushParametersToEditor()
{
    if (!editor)
        return;
    for (int i = 0; i < NParams(); ++i)
        editor->UpdateControlsForParameter(i, params[static_cast<std::size_t>(i)]->Value(), false);
}

bool IPlugBase::StoreState(StateBuffer& buffer)
{
    return StoreParams(buffer);
}

int IPlugBase::RestoreState(std::span<const std::uint8_t> data, int pos)
{
    return RestoreParams(data, pos);
}

bool IPlugBase::StoreParams(StateBuffer& buffer)
{
    LockGuard guard(lock);
    // The values go in batches, each grown into the buffer at once.
    constexpr std::size_t kBatch = 32;
    double values[kBatch];
    for (std::size_t first = 0; first < params.size(); first += kBatch) {
        const std::size_t count = std::min(kBatch, params.size() - first);
        for (std::size_t i = 0; i < count; ++i)
            values[i] = params[first + i]->Value();
        if (!buffer.AppendDoubles({values, count}) || buffer.Size() == 0)
            return false;
    }
    return true;
}

// A slot's buffer is emptied without giving its memory back: every slot holds
// the same number of values, so the next store fits where the last one did.
bool IPlugBase::RewriteSlot(IProgram& slot)
{
    slot.data.SetSize(0, false);
    return StoreParams(slot.data);
}

int IPlugBase::RestoreParams(std::span<const std::uint8_t> data, int pos)
{
    LockGuard guard(lock);
    int p = pos;
    for (auto& param : params) {
        if (p < 0)
            break;
        double v = 0.0;
        p = ReadF64(data, p, v);
        if (p < 0)
            v = 0.0;
        param->SetClamped(v);
    }
    const int count = NParams();
    for (int i = 0; i < count; ++i)
        ParameterChanged(i);
    return p;
}

bool IPlugBase::StorePrograms(StateBuffer& buffer)
{
    for (const auto& program : programs) {
        if (!buffer.AppendString(program->name) || !buffer.AppendByte(program->initialised ? 1 : 0))
            return false;
        if (program->initialised && !buffer.AppendBytes(program->data.Data(), program->data.Size()))
            return false;
    }
    return true;
}

int IPlugBase::RestorePrograms(std::span<const std::uint8_t> data, int pos)
{
    const auto size = static_cast<std::int64_t>(data.size());
    int p = pos;
    for (auto& program : programs) {
        if (p < 0)
            break;
        std::int32_t n = 0;
        bool broken = ReadI32(data, p, n) < 0;
        // Record end in 64 bits: a hostile length cannot wrap around.
        const std::int64_t end = broken ? -1 : static_cast<std::int64_t>(p) + 4 + n;
        char name[kProgramNameSize] = {};
        if (!broken && end <= size && n > 0) {
            const auto* bytes = reinterpret_cast<const char*>(data.data()) + p + 4;
            const std::size_t length = BoundedLength(bytes, static_cast<std::size_t>(n));
            const std::size_t kept = std::min(length, kProgramNameSize - 1);
            std::memcpy(name, bytes, kept);
        }
        CopyText(program->name, sizeof program->name, name);
        const bool wasInitialised = program->initialised;
        if (broken || end < 0 || end + 1 > size) {
            p = -1;
        } else {
            program->initialised = data[static_cast<std::size_t>(end)] != 0;
            p = static_cast<int>(end + 1);
        }
        if (program->initialised && p >= 0) {
            p = RestoreParams(data, p);
            if (p > 0) {
                RewriteSlot(*program);
            } else if (!wasInitialised) {
                // The values ran out: a slot that was empty has no values to
                // keep, so it stays empty instead of being saved as an
                // initialised slot without data (which no chunk reader could load).
                program->initialised = false;
            }
        }
    }
    SelectProgram(currentProgram);
    return p;
}

bool IPlugBase::WriteChunk(bool bank, StateBuffer& buffer)
{
    buffer.WriteChunkHeader();
    bool ok;
    if (bank) {
        StoreCurrentProgram(nullptr);
        ok = StorePrograms(buffer);
    } else {
        ok = StoreState(buffer);
    }
    return ok && buffer.Size() > 0;
}

bool IPlugBase::ReadChunk(bool bank, StateBuffer& buffer, const void* bytes, std::int64_t byteCount)
{
    if (!bytes || byteCount < 0 || byteCount > INT_MAX)
        return false;
    const int count = static_cast<int>(byteCount);
    // A host may hand back the block of its last get request, which lives in
    // this very buffer: copy it out before the buffer is resized and freed.
    std::vector<std::uint8_t> hostCopy;
    if (OverlapsBuffer(buffer, bytes, count)) {
        const auto* first = static_cast<const std::uint8_t*>(bytes);
        hostCopy.assign(first, first + count);
        bytes = hostCopy.data();
    }
    buffer.SetSize(0, true);
    buffer.SetSizeZeroFilled(count);
    if (buffer.Size() != count)
        return false;
    if (count)
        std::memcpy(buffer.Data(), bytes, static_cast<std::size_t>(count));
    const auto data = buffer.Bytes();

    std::int32_t version = 0;
    int pos = 0;
    std::int32_t magic = 0;
    if (ReadI32(data, 0, magic) >= 0 && static_cast<std::uint32_t>(magic) == kChunkMagic)
        pos = ReadI32(data, 4, version) >= 0 ? 8 : -1;

    // A bank ends by selecting the current program, which already shows its
    // values on the panel; a program's values are shown here.
    if (bank && version >= kChunkVersion)
        return RestorePrograms(data, pos) >= 0;
    const int result = RestoreState(data, pos);
    StoreCurrentProgram(nullptr);
    if (result < 0)
        return false;
    PushParametersToEditor();
    return true;
}

bool IPlugBase::HasChannelConfig(int in, int out) const
{
    for (const auto& c : channelConfigs)
        if ((in < 0 || c.inputs == in) && (out < 0 || c.outputs == out))
            return true;
    return false;
}

void IPlugBase::SetInputConnected(int index, bool connected)
{
    if (index < 0 || index >= NInputs())
        return;
    auto& c = *inputChannels[static_cast<std::size_t>(index)];
    c.connected = connected;
    if (!connected) {
        // The scratch buffer still holds the last block converted from the
        // host; a disconnected input reads silence from now on instead.
        if (c.scratch.Size() > 0)
            std::memset(c.scratch.Data(), 0, static_cast<std::size_t>(c.scratch.Size()));
        inputPointers[static_cast<std::size_t>(c.slot)] = c.Samples();
    }
}

void IPlugBase::SetOutputConnected(int index, bool connected)
{
    if (index < 0 || index >= NOutputs())
        return;
    auto& c = *outputChannels[static_cast<std::size_t>(index)];
    c.connected = connected;
    if (!connected)
        outputPointers[static_cast<std::size_t>(c.slot)] = c.Samples();
}
