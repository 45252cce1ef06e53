#pragma once
// A picture of the editor panel without a display: builds an instance with a
// headless panel, selects a program, applies settings, runs one block of audio
// (so the LFO indicators show where the LFOs stand) and paints the whole
// canvas.

#include <cstdint>
#include <string>
#include <vector>

namespace snapshot {

// A parameter (its index or its name) and a value as the parameter reads
// text (a display text or a number in the parameter's unit).
struct Setting {
    std::string parameter;
    std::string value;
};

// Opaque pixels, rows top-down, 0xRRGGBB in the low 24 bits.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Splits "P=V" at the first '='; false when there is none or P is empty.
bool ParseSetting(const std::string& text, Setting& out);

// The panel showing program slot `program` (0-based) with the settings
// applied in order. False with a message in error for an unknown slot or
// parameter, or when the panel could not be painted.
bool PaintPanel(int program, const std::vector<Setting>& settings, Picture& out, std::string& error);

// Writes the picture as an 8-bit RGB PNG file.
bool WritePng(const std::string& path, const Picture& picture, std::string& error);

// Reads an 8-bit PNG file (for comparisons); false when it cannot be read.
bool ReadPng(const std::string& path, Picture& out);

} // namespace snapshot
