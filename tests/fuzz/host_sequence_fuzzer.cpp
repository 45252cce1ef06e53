// A short random life of one instance as a careless host may lead it: any
// dispatcher request with any operands (pointer requests get buffers of the
// sizes the interface promises, or null), setParameter with any float, sample
// rates and block sizes of any value, speaker arrangements of any count,
// program switches, chunk round trips, time information that changes or goes
// missing, and blocks of every length up to three times the block size. Every
// rendered sample must be finite and every answer in its range.

#include "fuzz_host.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace {

using fuzz::Fail;

struct Sequence {
    explicit Sequence(fuzz::Bytes& bytes) : plug(fuzz::PreparedInstance(48000.0f, 512)), in(bytes) {}

    fuzz::Instance& plug;
    fuzz::Bytes& in;
    int blockSize = 512;

    // Block sizes a host may send: refused ones, small ones and a few large
    // but still reasonable ones.
    std::intptr_t BlockSizeOperand()
    {
        switch (in.U8() % 6) {
        case 0:
            return -static_cast<std::intptr_t>(in.U32());
        case 1:
            return 0;
        case 2:
            return static_cast<std::intptr_t>(in.U64()) | (std::intptr_t{1} << 40); // far too large: refused
        case 3:
            return static_cast<std::intptr_t>(INT_MAX / 8) + 1 + (in.U16()); // too large for the buffers
        case 4:
            return 1 + in.U16() % 8192;
        default:
            return 1 + in.U8() % 64;
        }
    }

    void Dispatch()
    {
        const std::int32_t opcode = in.U8() % 80;
        // Any 32-bit index, or one near the parameter and program ranges.
        const auto index = static_cast<std::int32_t>(in.U8() % 2 ? in.U32() : in.U8() % 162u - 1u);
        const auto value = static_cast<std::intptr_t>(in.U8() % 2 ? in.U64() : in.U8() % 160);
        const float opt = in.F32();
        const bool nullPointer = in.U8() % 4 == 0;
        std::vector<std::uint8_t> buffer;
        std::vector<std::uint8_t> second;
        std::intptr_t v = value;
        switch (opcode) {
        case vst2::kOpClose:
        case vst2::kOpEditorOpen: // a real window needs a real parent
            return;
        case vst2::kOpSetBlockSize: {
            const std::intptr_t frames = BlockSizeOperand();
            plug.Dispatch(opcode, index, frames, nullptr, opt);
            if (frames > 0 && frames <= INT_MAX / 8)
                blockSize = static_cast<int>(frames);
            return;
        }
        case vst2::kOpSetProgramName:
        case vst2::kOpStringToParameter:
        case vst2::kOpCanDo: {
            const std::string text = in.Text(300);
            buffer.assign(text.begin(), text.end());
            buffer.push_back(0);
            break;
        }
        case vst2::kOpGetProgramName:
        case vst2::kOpGetProgramNameIndexed:
            buffer.assign(256, 0x7f);
            break;
        case vst2::kOpGetParamLabel:
        case vst2::kOpGetParamDisplay:
        case vst2::kOpGetParamName:
        case vst2::kOpVendorSpecific:
            buffer.assign(32, 0);
            break;
        case vst2::kOpGetEffectName:
        case vst2::kOpGetVendorName:
        case vst2::kOpGetProductName:
            buffer.assign(128, 0x7f);
            break;
        case vst2::kOpEditorGetRect:
        case vst2::kOpGetChunk:
            buffer.assign(sizeof(void*), 0);
            break;
        case vst2::kOpGetSpeakerArrangement:
            buffer.assign(sizeof(void*), 0);
            second.assign(sizeof(void*), 0);
            v = in.U8() % 4 == 0 ? 0 : reinterpret_cast<std::intptr_t>(second.data());
            break;
        case vst2::kOpSetChunk: {
            const auto bytes = in.Take(in.U16() % 2048);
            buffer.assign(bytes.begin(), bytes.end());
            buffer.push_back(0);
            // The real size, or one a host can never mean.
            v = in.U8() % 4 ? static_cast<std::intptr_t>(bytes.size()) : value;
            if (v >= 0 && v <= static_cast<std::intptr_t>(INT_MAX) &&
                v > static_cast<std::intptr_t>(bytes.size()))
                v = static_cast<std::intptr_t>(bytes.size());
            break;
        }
        case vst2::kOpProcessEvents:
            buffer.assign(offsetof(vst2::EventList, events) + sizeof(void*), 0);
            break;
        case vst2::kOpGetInputProperties:
        case vst2::kOpGetOutputProperties:
            buffer.assign(sizeof(vst2::PinProperties), 0);
            break;
        case vst2::kOpSetSpeakerArrangement: {
            vst2::SpeakerArrangement a{};
            a.numChannels = static_cast<std::int32_t>(in.U32());
            buffer.assign(sizeof a, 0);
            std::memcpy(buffer.data(), &a, sizeof a);
            second.assign(sizeof a, 0);
            a.numChannels = static_cast<std::int32_t>(in.U32());
            std::memcpy(second.data(), &a, sizeof a);
            v = in.U8() % 4 == 0 ? 0 : reinterpret_cast<std::intptr_t>(second.data());
            break;
        }
        case vst2::kOpGetMidiKeyName: {
            vst2::KeyNameRecord record{};
            record.keyNumber = static_cast<std::int32_t>(in.U32());
            buffer.assign(sizeof record, 0);
            std::memcpy(buffer.data(), &record, sizeof record);
            break;
        }
        default:
            break;
        }
        void* ptr = nullPointer || buffer.empty() ? nullptr : buffer.data();
        const std::intptr_t result = plug.Dispatch(opcode, index, v, ptr, opt);
        Check(opcode, index, result, ptr, buffer);
    }

    void Check(std::int32_t opcode, std::int32_t index, std::intptr_t result, void* ptr,
               const std::vector<std::uint8_t>& buffer)
    {
        const auto terminated = [&](std::size_t field) {
            return std::find(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(field), 0) !=
                   buffer.begin() + static_cast<std::ptrdiff_t>(field);
        };
        switch (opcode) {
        case vst2::kOpGetProgram:
            if (result < 0 || result >= plug.Effect()->numPrograms)
                Fail("the current program lies outside the slots");
            break;
        case vst2::kOpGetProgramName:
        case vst2::kOpGetProgramNameIndexed:
            if (ptr && !terminated(256))
                Fail("a program name overran its field");
            break;
        case vst2::kOpGetEffectName:
        case vst2::kOpGetVendorName:
        case vst2::kOpGetProductName:
            if (ptr && !terminated(128))
                Fail("a name overran its field");
            break;
        case vst2::kOpGetChunk:
            if (result < 0 ||
                (ptr && result > 0 && *reinterpret_cast<void* const*>(buffer.data()) == nullptr))
                Fail("a chunk size came without its data");
            break;
        case vst2::kOpGetParamLabel:
        case vst2::kOpGetParamDisplay:
        case vst2::kOpGetParamName:
            if (ptr && index >= 0 && index < plug.Effect()->numParams && !terminated(32))
                Fail("a parameter text overran its field");
            break;
        default:
            break;
        }
    }

    void SetTime()
    {
        fuzz::HostAnswers& answers = fuzz::Answers();
        switch (in.U8() % 5) {
        case 0:
            answers.answersTime = !answers.answersTime;
            break;
        case 1:
            answers.time.tempo = in.F64();
            break;
        case 2:
            answers.time.flags = static_cast<std::int32_t>(in.U32());
            break;
        case 3:
            answers.time.samplePos = in.F64();
            break;
        default:
            answers.time.timeSigNumerator = static_cast<std::int32_t>(in.U32());
            answers.time.timeSigDenominator = static_cast<std::int32_t>(in.U32());
            break;
        }
    }

    void Step()
    {
        vst2::EffectDescriptor* e = plug.Effect();
        switch (in.U8() % 10) {
        case 0:
        case 1:
            Dispatch();
            break;
        case 2:
            e->setParameter(e, static_cast<std::int32_t>(in.U8() % (e->numParams + 4)) - 2, in.F32());
            break;
        case 3: {
            const std::int32_t i = static_cast<std::int32_t>(in.U8() % (e->numParams + 4)) - 2;
            const float v = e->getParameter(e, i);
            if (!(v >= 0.0f && v <= 1.0f))
                Fail("getParameter answered outside 0 .. 1");
            break;
        }
        case 4:
        case 5:
            plug.Render(in.U8() % 3,
                        static_cast<int>(in.U32() % (3 * static_cast<std::uint32_t>(blockSize) + 2)));
            break;
        case 6:
            SetTime();
            break;
        case 7:
            plug.Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, in.F32());
            break;
        case 8:
            plug.Dispatch(vst2::kOpSetProgram, 0,
                          in.U8() % 2 ? static_cast<std::intptr_t>(in.U64()) : in.U8() % 160 - 2);
            break;
        default: {
            const std::uint8_t how = in.U8();
            const bool bank = how % 2;
            if (how & 2) {
                // Hosts may hand back the very block the get request pointed them to.
                void* data = nullptr;
                const std::intptr_t size = plug.Dispatch(vst2::kOpGetChunk, bank ? 0 : 1, 0, &data);
                if (size > 0 && plug.Dispatch(vst2::kOpSetChunk, bank ? 0 : 1, size, data) != 1)
                    Fail("a chunk handed back in place does not load");
                break;
            }
            const std::vector<std::uint8_t> chunk = plug.GetChunk(bank);
            if (!plug.SetChunk(bank, chunk))
                Fail("a chunk the plug-in wrote does not load");
            break;
        }
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Bytes in(data, size);
    Sequence sequence(in);
    for (int step = 0; step < 64 && !in.Empty(); ++step)
        sequence.Step();
    sequence.plug.Render(1, 64);
    sequence.plug.CheckParameters();
    return 0;
}
