// Bank loads are tuned for speed (slot buffers kept, values written in one
// append, the panel told once). This compares them with the bank load as it
// was first written, kept here as the reference, from varied running states
// of the engine and over factory, edited, random and hostile banks: the chunk
// bytes, every value and the samples rendered afterwards must not differ.

#include "core/bounded_string.h"
#include "core/byte_reader.h"
#include "engine_harness.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

// Every slot goes through the live values and is stored again from them, its
// buffer freed first and the values appended one by one.
class ReferenceBankLoad : public EnginePlug {
public:
    using EnginePlug::EnginePlug;

    int RestorePrograms(std::span<const std::uint8_t> data, int pos) override
    {
        const auto size = static_cast<std::int64_t>(data.size());
        int p = pos;
        for (int i = 0; i < NPrograms(); ++i) {
            IProgram* program = GetProgram(i);
            if (p < 0)
                break;
            std::int32_t n = 0;
            const bool broken = ReadI32(data, p, n) < 0;
            const std::int64_t end = broken ? -1 : static_cast<std::int64_t>(p) + 4 + n;
            char name[kProgramNameSize] = {};
            if (!broken && end <= size && n > 0) {
                const auto* bytes = reinterpret_cast<const char*>(data.data()) + p + 4;
                const std::size_t length = BoundedLength(bytes, static_cast<std::size_t>(n));
                std::memcpy(name, bytes, std::min(length, kProgramNameSize - 1));
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
                    program->data.SetSize(0, true);
                    for (int k = 0; k < NParams(); ++k)
                        program->data.AppendDouble(GetParam(k)->Value());
                } else if (!wasInitialised) {
                    program->initialised = false;
                }
            }
        }
        SelectProgram(currentProgram);
        return p;
    }
};

std::vector<std::uint8_t> Chunk(VSTCLASS& plug, bool bank)
{
    void* data = nullptr;
    const auto size = plug.Dispatch(vst2::kOpGetChunk, bank ? 0 : 1, 0, &data, 0.0f);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return {bytes, bytes + size};
}

void Start(VSTCLASS& plug)
{
    plug.Dispatch(vst2::kOpOpen, 0, 0, nullptr, 0.0f);
    plug.Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, 44100.0f);
    plug.Dispatch(vst2::kOpSetBlockSize, 0, 1024, nullptr, 0.0f);
    plug.Dispatch(vst2::kOpProcessingOnOff, 0, 1, nullptr, 0.0f);
}

std::vector<double> Rendered(VSTCLASS& plug, int frames)
{
    std::vector<double> left(static_cast<std::size_t>(frames), 0.2), right(left), outL(left), outR(left);
    double* in[2] = {left.data(), right.data()};
    double* out[2] = {outL.data(), outR.data()};
    plug.ProcessDouble(in, out, frames);
    outL.insert(outL.end(), outR.begin(), outR.end());
    return outL;
}

// Running states the load starts from: a program picked, some parameters
// moved (LFOs free or synced on several targets, isochronic on or off, the
// restart latch), blocks rendered, and for some a SYNC click just before.
void Prepare(VSTCLASS& plug, int state)
{
    plug.Dispatch(vst2::kOpSetProgram, 0, (state * 37) % kNumPrograms, nullptr, 0.0f);
    std::mt19937 random(static_cast<unsigned>(state));
    for (int i = 0; i < 6 + state % 5; ++i)
        plug.SetParameterValue(static_cast<std::int32_t>(random() % kNumParams),
                               static_cast<float>(random() % 1001) / 1000.0f);
    Rendered(plug, 300 + 113 * state);
    plug.syncClicked = state % 3 == 0;
}

// The factory bank with some slots edited, random bytes behind a header, and
// a bank cut short.
std::vector<std::vector<std::uint8_t>> Banks()
{
    TestTime() = {};
    ReferenceBankLoad source(TestHostCallback);
    Start(source);
    std::vector<std::vector<std::uint8_t>> banks{Chunk(source, true)};
    std::mt19937 random(7);
    std::vector<std::uint8_t> edited = banks[0];
    for (int i = 0; i < 400; ++i) // values anywhere, NaN, infinities and -0.0 among them
        edited[12 + random() % (edited.size() - 12)] = static_cast<std::uint8_t>(random());
    banks.push_back(edited);
    std::vector<std::uint8_t> noise = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
    for (int i = 0; i < 3000; ++i)
        noise.push_back(static_cast<std::uint8_t>(random() % 4 ? random() % 3 : random()));
    banks.push_back(noise);
    banks.push_back({banks[0].begin(), banks[0].begin() + static_cast<std::ptrdiff_t>(banks[0].size() / 2)});
    return banks;
}

TEST(BankLoad, MatchesTheReferenceFromEveryRunningState)
{
    const auto banks = Banks();
    for (int state = 0; state < 8; ++state) {
        for (std::size_t b = 0; b < banks.size(); ++b) {
            TestTime() = {};
            ReferenceBankLoad reference(TestHostCallback);
            EnginePlug tuned(TestHostCallback);
            for (VSTCLASS* plug : {static_cast<VSTCLASS*>(&reference), static_cast<VSTCLASS*>(&tuned)}) {
                Start(*plug);
                Prepare(*plug, state);
            }
            auto bytes = banks[b];
            const auto size = static_cast<std::intptr_t>(bytes.size());
            EXPECT_EQ(tuned.Dispatch(vst2::kOpSetChunk, 0, size, bytes.data(), 0.0f),
                      reference.Dispatch(vst2::kOpSetChunk, 0, size, bytes.data(), 0.0f));
            EXPECT_TRUE(Rendered(tuned, 2000) == Rendered(reference, 2000))
                << "state " << state << " bank " << b;
            EXPECT_TRUE(Chunk(tuned, true) == Chunk(reference, true)) << "state " << state << " bank " << b;
            EXPECT_TRUE(Chunk(tuned, false) == Chunk(reference, false)) << "state " << state << " bank " << b;
        }
    }
}

} // namespace
