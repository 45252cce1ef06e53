// Writes the seed corpora for the fuzz targets into the folder given as the
// only argument (one sub-folder per target): a fresh instance's own bank and
// program chunks, damaged and header-less variants, and texts, event lists and
// request sequences that reach the interesting paths. Run it again when the
// chunk formats or the factory bank change, and commit the files it writes.

#include "fuzz_host.h"
#include "tools/render/preset_file.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Seed = std::vector<std::uint8_t>;

void Write(const std::filesystem::path& folder, const std::string& name, const Seed& bytes)
{
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Seed Cat(std::initializer_list<Seed> parts)
{
    Seed all;
    for (const Seed& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

Seed U32(std::uint32_t v)
{
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

Seed F32(float f)
{
    std::uint32_t u;
    std::memcpy(&u, &f, 4);
    return U32(u);
}

Seed Text(const std::string& text)
{
    Seed s = {static_cast<std::uint8_t>(text.size())};
    s.insert(s.end(), text.begin(), text.end());
    return s;
}

void ChunkSeeds(const std::filesystem::path& dir)
{
    fuzz::Instance plug;
    plug.Start(48000.0f, 512);
    const Seed bank = plug.GetChunk(true);
    const Seed program = plug.GetChunk(false);
    const Seed programBody(program.begin() + 8, program.end());
    // First byte: bit 0 bank, bit 1 header added by the target, bit 2 impossible size.
    Write(dir, "bank", Cat({{1}, bank}));
    Write(dir, "program", Cat({{0}, program}));
    Write(dir, "program_without_header", Cat({{0}, programBody}));
    Write(dir, "program_body_with_added_header", Cat({{2}, programBody}));
    Write(dir, "program_short_by_one_value", Cat({{0}, Seed(programBody.begin(), programBody.end() - 8)}));
    Write(dir, "bank_read_as_program", Cat({{0}, bank}));
    Write(dir, "bank_without_header", Cat({{1}, Seed(bank.begin() + 8, bank.end())}));
    Write(dir, "bank_truncated",
          Cat({{1}, Seed(bank.begin(), bank.begin() + static_cast<long>(bank.size() / 2))}));
    Write(dir, "magic_only", Cat({{1}, Seed(bank.begin(), bank.begin() + 4)}));
    Write(dir, "empty_bank", {1});
    Write(dir, "impossible_size", Cat({{5}, program}));
    plug.Dispatch(vst2::kOpSetProgram, 0, 7);
    Write(dir, "factory_program", Cat({{0}, plug.GetChunk(false)}));
}

void TextSeeds(const std::filesystem::path& dir)
{
    // Each request: operation, parameter index + 1, float, text.
    const auto request = [](std::uint8_t op, std::uint8_t index, float opt, const std::string& text) {
        return Cat({{op, static_cast<std::uint8_t>(index + 1)}, F32(opt), Text(text)});
    };
    Write(dir, "numbers",
          Cat({request(0, 0, 0, "440"), request(0, 1, 0, "1e308"), request(0, 2, 0, "-inf"),
               request(0, 4, 0, "nan"), request(0, 8, 0, "  12.5ms"), request(0, 9, 0, "-0")}));
    Write(dir, "choices",
          Cat({request(0, 3, 0, "Gold. Square"), request(0, 10, 0, "Pan"), request(0, 5, 0, "On"),
               request(0, 11, 0, "Sine")}));
    Write(dir, "vendor",
          Cat({request(1, 0, 0.5f, ""), request(1, 3, 1e30f, ""), request(2, 0, 0, "20000"),
               request(2, 14, 0, "0.0001"), request(3, 6, 0, ""), request(6, 7, 0, "x")}));
    Write(dir, "can_do",
          Cat({request(4, 0, 0, "receiveVstTimeInfo"), request(4, 0, 0, "hasCockosExtensions"),
               request(4, 0, 0, "receiveVstTimeInfoX")}));
    Write(
        dir, "rename",
        Cat({request(5, 0, 0, std::string(255, 'n')), request(5, 0, 0, ""), request(5, 0, 0, "\xe9t\xe9")}));
}

void EventSeeds(const std::filesystem::path& dir)
{
    // A list: count, then per event a kind, an offset and its bytes; then a block.
    const Seed noteOn = Cat({{1}, U32(5), {0x90, 60, 100, 0}});
    const Seed sysex = Cat({{4}, U32(0), {3, 0}, {0xF0, 0x7E, 0xF7}});
    const Seed null = Cat({{0}, U32(0)});
    const Seed odd = Cat({{6}, U32(0xFFFFFFFF), U32(99)});
    Write(dir, "mixed", Cat({{4}, noteOn, sysex, null, odd, {1}, {0, 2}}));
    Write(dir, "empty", Cat({{0}, {1}, {0, 1}}));
}

void SequenceSeeds(const std::filesystem::path& dir)
{
    // Steps: 4 renders, 2 setParameter, 7 sample rate, 8 program, 9 chunk round trip, 6 time.
    const Seed render = {4, 1, 0x00, 0x02, 0, 0};
    Write(dir, "render_and_automate", Cat({render, {2, 2}, F32(0.75f), render, {2, 0}, F32(-1.0f), render}));
    Write(dir, "programs_and_chunks", Cat({{8, 0, 7}, render, {9, 1}, {9, 0}, {8, 0, 200}, render}));
    Write(dir, "rates_and_time",
          Cat({{7},
               F32(0.0f),
               render,
               {7},
               F32(192000.0f),
               {6, 0},
               render,
               {6, 1},
               U32(0),
               U32(0x7FF00000),
               render}));
}

} // namespace

// A program file and a bank file of the plug-in's own shape, each behind the
// byte that makes the target expect that shape, and one with a position out of range.
void PresetSeeds(const std::filesystem::path& folder)
{
    fuzz::Instance plug;
    const vst2::EffectDescriptor* e = plug.Effect();
    render::Preset program;
    program.pluginId = e->uniqueID;
    program.pluginVersion = e->version;
    program.programs.push_back({"Seed", std::vector<float>(static_cast<std::size_t>(e->numParams), 0.5f)});
    render::Preset bank = program;
    bank.bank = true;
    bank.programs.assign(static_cast<std::size_t>(e->numPrograms), program.programs.front());
    Write(folder, "program", Cat({{0}, render::EncodePreset(program)}));
    Write(folder, "bank", Cat({{1}, render::EncodePreset(bank)}));
    program.programs.front().values.back() = 1.5f;
    Write(folder, "position_out_of_range", Cat({{0}, render::EncodePreset(program)}));
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    ChunkSeeds(root / "chunk");
    TextSeeds(root / "text");
    EventSeeds(root / "events");
    SequenceSeeds(root / "host_sequence");
    PresetSeeds(root / "preset");
    return 0;
}
