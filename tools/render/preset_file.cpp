#include "tools/render/preset_file.h"

#include "tools/render/text_folding.h"

#include <bit>
#include <cmath>

namespace render {

namespace {

constexpr std::size_t kNameField = 28;
constexpr std::size_t kBankReserved = 128;
// Magic, size, kind, version, id, plug-in version, count: seven fields.
constexpr std::size_t kHeaderBytes = 7 * 4;

std::int32_t FourCC(const char (&text)[5])
{
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) << 24) |
                                     (static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 16) |
                                     (static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 8) |
                                     static_cast<std::uint32_t>(static_cast<unsigned char>(text[3])));
}

const std::int32_t kFileMagic = FourCC("CcnK");
const std::int32_t kProgramMagic = FourCC("FxCk");
const std::int32_t kBankMagic = FourCC("FxBk");
const std::int32_t kProgramChunkMagic = FourCC("FPCh");
const std::int32_t kBankChunkMagic = FourCC("FBCh");

void AppendI32(std::vector<std::uint8_t>& out, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(u >> shift));
}

// Big-endian int32 at pos; returns pos + 4, or 0 when fewer than 4 bytes remain.
std::size_t ReadI32(std::span<const std::uint8_t> data, std::size_t pos, std::int32_t& out)
{
    if (data.size() < 4 || pos > data.size() - 4)
        return 0;
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v = (v << 8) | data[pos + i];
    out = static_cast<std::int32_t>(v);
    return pos + 4;
}

// The name cut to fit the field with its terminator, never inside a UTF-8 character.
std::string FittedName(const std::string& name)
{
    if (name.size() < kNameField)
        return name;
    std::size_t cut = kNameField - 1;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    return name.substr(0, cut);
}

std::size_t ProgramBytes(std::size_t params)
{
    return kHeaderBytes + kNameField + 4 * params;
}

void AppendProgram(std::vector<std::uint8_t>& out, const Preset& preset, const PresetProgram& program)
{
    AppendI32(out, kFileMagic);
    AppendI32(out, static_cast<std::int32_t>(ProgramBytes(program.values.size()) - 8));
    AppendI32(out, kProgramMagic);
    AppendI32(out, 1);
    AppendI32(out, preset.pluginId);
    AppendI32(out, preset.pluginVersion);
    AppendI32(out, static_cast<std::int32_t>(program.values.size()));
    const std::string name = FittedName(program.name);
    out.insert(out.end(), name.begin(), name.end());
    out.insert(out.end(), kNameField - name.size(), 0);
    for (const float v : program.values)
        AppendI32(out, std::bit_cast<std::int32_t>(v));
}

struct Header {
    std::int32_t kind = 0;
    std::int32_t version = 0;
    std::int32_t id = 0;
    std::int32_t pluginVersion = 0;
    std::int32_t count = 0;
};

// Reads a header at pos whose size field must cover exactly size bytes from
// pos; returns the position after it, or 0 with a message.
std::size_t ReadHeader(std::span<const std::uint8_t> data, std::size_t pos, std::size_t size, Header& header,
                       std::string& error)
{
    std::int32_t magic = 0;
    std::int32_t byteSize = 0;
    std::size_t p = ReadI32(data, pos, magic);
    if (p)
        p = ReadI32(data, p, byteSize);
    for (std::int32_t* field :
         {&header.kind, &header.version, &header.id, &header.pluginVersion, &header.count})
        if (p)
            p = ReadI32(data, p, *field);
    if (!p || magic != kFileMagic) {
        error = "not a VST preset file (no CcnK header)";
        return 0;
    }
    if (byteSize < 0 || static_cast<std::size_t>(byteSize) + 8 != size) {
        error = "its size field says " + std::to_string(byteSize) + " bytes but " + std::to_string(size - 8) +
                " follow (truncated, or more than one preset)";
        return 0;
    }
    return p;
}

bool CheckPlugin(const Header& header, const PresetShape& shape, std::string& error)
{
    if (header.id != shape.pluginId) {
        error = "it is for another plug-in (id " + std::to_string(header.id) + ", this one is " +
                std::to_string(shape.pluginId) + ")";
        return false;
    }
    return true;
}

std::size_t ReadProgram(std::span<const std::uint8_t> data, std::size_t pos, const PresetShape& shape,
                        PresetProgram& program, std::string& error)
{
    const std::size_t expected = ProgramBytes(static_cast<std::size_t>(shape.params));
    if (data.size() < pos || data.size() - pos < expected) {
        error = "a program ends early (truncated)";
        return 0;
    }
    Header header;
    std::size_t p = ReadHeader(data, pos, expected, header, error);
    if (!p)
        return 0;
    if (header.kind == kProgramChunkMagic) {
        error = "it holds an opaque chunk; this plug-in's presets hold parameters";
        return 0;
    }
    if (header.kind != kProgramMagic || header.version != 1) {
        error = "it is not a parameter program (FxCk, version 1)";
        return 0;
    }
    if (!CheckPlugin(header, shape, error))
        return 0;
    if (header.count != shape.params) {
        error = "it holds " + std::to_string(header.count) + " parameters; this plug-in has " +
                std::to_string(shape.params);
        return 0;
    }
    const auto* name = reinterpret_cast<const char*>(data.data() + p);
    std::size_t length = 0;
    while (length < kNameField && name[length])
        ++length;
    // A name that fills the whole field without its terminator is cut as one
    // written here would be, so it reads back the same after saving.
    program.name = FittedName(std::string(name, length));
    p += kNameField;
    program.values.clear();
    for (int i = 0; i < shape.params; ++i) {
        std::int32_t bits = 0;
        p = ReadI32(data, p, bits);
        const float v = std::bit_cast<float>(bits);
        if (!(v >= 0.0f && v <= 1.0f)) {
            error =
                "parameter " + std::to_string(i) + " of program \"" + program.name + "\" is outside 0 to 1";
            return 0;
        }
        program.values.push_back(v);
    }
    return p;
}

} // namespace

std::vector<std::uint8_t> EncodePreset(const Preset& preset)
{
    std::vector<std::uint8_t> out;
    if (!preset.bank) {
        if (!preset.programs.empty())
            AppendProgram(out, preset, preset.programs.front());
        return out;
    }
    const std::size_t params = preset.programs.empty() ? 0 : preset.programs.front().values.size();
    AppendI32(out, kFileMagic);
    AppendI32(out, static_cast<std::int32_t>(kHeaderBytes + kBankReserved +
                                             preset.programs.size() * ProgramBytes(params) - 8));
    AppendI32(out, kBankMagic);
    AppendI32(out, 1);
    AppendI32(out, preset.pluginId);
    AppendI32(out, preset.pluginVersion);
    AppendI32(out, static_cast<std::int32_t>(preset.programs.size()));
    out.insert(out.end(), kBankReserved, 0);
    for (const PresetProgram& program : preset.programs)
        AppendProgram(out, preset, program);
    return out;
}

bool DecodePreset(std::span<const std::uint8_t> bytes, const PresetShape& shape, Preset& preset,
                  std::string& error)
{
    Header header;
    if (!ReadHeader(bytes, 0, bytes.size(), header, error))
        return false;
    Preset read;
    read.pluginId = header.id;
    read.pluginVersion = header.pluginVersion;
    if (header.kind == kProgramMagic || header.kind == kProgramChunkMagic) {
        PresetProgram program;
        if (!ReadProgram(bytes, 0, shape, program, error))
            return false;
        read.programs.push_back(std::move(program));
    } else if (header.kind == kBankChunkMagic) {
        error = "it holds an opaque chunk; this plug-in's presets hold parameters";
        return false;
    } else if (header.kind == kBankMagic) {
        if (header.version != 1 && header.version != 2) {
            error = "it is a bank of an unknown version (" + std::to_string(header.version) + ")";
            return false;
        }
        if (!CheckPlugin(header, shape, error))
            return false;
        if (header.count != shape.programs) {
            error = "it holds " + std::to_string(header.count) + " programs; this plug-in has " +
                    std::to_string(shape.programs);
            return false;
        }
        const std::size_t expected =
            kHeaderBytes + kBankReserved +
            static_cast<std::size_t>(shape.programs) * ProgramBytes(static_cast<std::size_t>(shape.params));
        if (bytes.size() != expected) {
            error = "it is " + std::to_string(bytes.size()) + " bytes long; a bank of this plug-in is " +
                    std::to_string(expected);
            return false;
        }
        read.bank = true;
        std::size_t pos = kHeaderBytes + kBankReserved;
        for (int i = 0; i < shape.programs; ++i) {
            PresetProgram program;
            pos = ReadProgram(bytes, pos, shape, program, error);
            if (!pos) {
                error = "program " + std::to_string(i) + ": " + error;
                return false;
            }
            read.programs.push_back(std::move(program));
        }
    } else {
        error = "it is neither a program (FxCk) nor a bank (FxBk)";
        return false;
    }
    preset = std::move(read);
    return true;
}

bool PresetKindOf(const std::string& path, bool& bank)
{
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return false;
    const std::string ext = FoldCase(path.substr(dot + 1));
    if (ext != "fxp" && ext != "fxb")
        return false;
    bank = ext == "fxb";
    return true;
}

} // namespace render
