// Preset files (.fxp programs, .fxb banks) as the render tool reads them: any
// bytes. A file that is refused must come with a message; a file that is read
// must hold the plug-in's shape (one program or all of them, one position in
// 0 .. 1 per parameter, names of at most 27 bytes) and must read back the same
// after it is written again.
//
// First byte: bit 0 expects a bank's shape, bits 1-2 how many parameters the
// plug-in claims (its own count, none, one, or a count the file cannot hold);
// the rest is the file.

#include "tests/fuzz/fuzz_host.h"
#include "tools/render/preset_file.h"

#include <cstring>

namespace {

void Require(bool condition, const char* what)
{
    if (!condition)
        fuzz::Fail(what);
}

render::PresetShape ShapeFor(std::uint8_t how)
{
    constexpr int kParams = 25;
    constexpr int kPrograms = 150;
    const int params[] = {kParams, 0, 1, 1 << 28};
    return {vst2::FourCC('y', 'm', 's', 'v'), params[(how >> 1) & 3], (how & 1) ? kPrograms : 1};
}

bool SamePrograms(const render::Preset& a, const render::Preset& b)
{
    if (a.bank != b.bank || a.pluginId != b.pluginId || a.pluginVersion != b.pluginVersion ||
        a.programs.size() != b.programs.size())
        return false;
    for (std::size_t i = 0; i < a.programs.size(); ++i) {
        const auto& x = a.programs[i];
        const auto& y = b.programs[i];
        if (x.name != y.name || x.values.size() != y.values.size() ||
            std::memcmp(x.values.data(), y.values.data(), x.values.size() * sizeof(float)) != 0)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Bytes in(data, size);
    const render::PresetShape shape = ShapeFor(in.U8());
    const auto file = in.Rest();
    render::Preset preset;
    std::string error;
    if (!render::DecodePreset(file, shape, preset, error)) {
        Require(!error.empty(), "a refused preset file came without a message");
        return 0;
    }
    Require(error.empty(), "a preset file was read with a message");
    Require(preset.programs.size() == (preset.bank ? static_cast<std::size_t>(shape.programs) : 1u),
            "a preset file was read with the wrong number of programs");
    for (const render::PresetProgram& program : preset.programs) {
        Require(program.name.size() <= 27, "a program name is longer than its field");
        Require(program.values.size() == static_cast<std::size_t>(shape.params),
                "a program was read with the wrong number of values");
        for (float v : program.values)
            Require(v >= 0.0f && v <= 1.0f, "a position outside 0 .. 1 was read");
    }
    render::Preset again;
    Require(render::DecodePreset(render::EncodePreset(preset), shape, again, error),
            "a preset file written from a read one is refused");
    Require(SamePrograms(preset, again), "a preset file does not read back as written");
    return 0;
}
