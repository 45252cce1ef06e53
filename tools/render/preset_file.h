#pragma once
// The preset files hosts exchange for VST 2 plug-ins that store parameters
// (not opaque chunks): a program (.fxp, "FxCk") or a bank (.fxb, "FxBk"), with
// big-endian fields, 28-byte program names and one float (the host's 0 to 1
// position) per parameter. Reading is strict: anything that is not exactly
// such a file for this plug-in is refused with a message. No plug-in, no OS
// calls.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace render {

struct PresetProgram {
    std::string name;          // at most 27 bytes in the file
    std::vector<float> values; // one per parameter, 0 to 1
};

struct Preset {
    bool bank = false;
    std::int32_t pluginId = 0;
    std::int32_t pluginVersion = 0;
    std::vector<PresetProgram> programs; // one for a program file
};

// What a plug-in must match for its presets.
struct PresetShape {
    std::int32_t pluginId = 0;
    int params = 0;
    int programs = 0;
};

std::vector<std::uint8_t> EncodePreset(const Preset& preset);

// False with a message when bytes are not a preset file of shape.
bool DecodePreset(std::span<const std::uint8_t> bytes, const PresetShape& shape, Preset& preset,
                  std::string& error);

// Whether path names a program (.fxp) or a bank (.fxb) file; false for any
// other extension.
bool PresetKindOf(const std::string& path, bool& bank);

} // namespace render
