#pragma once
// One automatable parameter: kind, name and label, range, step, shape of the
// normalised mapping, current real value and display texts. Everything the host
// or the editor learns about a parameter passes through here. No OS calls, no
// lock of its own: callers hold the instance lock.

#include <cstddef>
#include <cstdint>
#include <vector>

enum class ParameterKind : std::int32_t {
    None = 0,
    Integral = 1, // a further integral kind; nothing in this plug-in creates it
    Int = 2,
    Enum = 3,
    Double = 4,
};

constexpr std::size_t kParamTextSize = 32;

struct DisplayTextEntry {
    std::int32_t value;
    char text[kParamTextSize];
};

class IParameter {
public:
    IParameter();

    void DefineReal(const char* name, double defaultValue, double minValue, double maxValue, double stepSize,
                    const char* label);
    void DefineInteger(const char* name, std::int32_t defaultValue, std::int32_t minValue,
                       std::int32_t maxValue, const char* label);
    void DefineChoice(const char* name, std::int32_t defaultIndex, std::int32_t count, const char* label);
    void SetCurveExponent(double exponent);
    // Names a parameter without defining it: kind, range and value stay as they are.
    void SetName(const char* newName);
    void AddDisplayText(std::int32_t v, const char* text);

    int GetDisplayTextCount() const { return static_cast<int>(textEntries.size()); }
    // The display texts in the order they were added; "" out of range.
    const char* GetDisplayTextAt(int i) const
    {
        return i >= 0 && i < GetDisplayTextCount() ? textEntries[static_cast<std::size_t>(i)].text : "";
    }
    const char* GetDisplayTextForValue(std::int32_t v) const;
    bool FindDisplayTextValue(const char* text, std::int32_t& out) const;

    void WriteNormalized(double normalized);
    double ReadNormalized() const { return NormalizeValue(value); }
    double NormalizeValue(double x) const;
    void SetClamped(double x);

    // Writes the display string of v (a real value, or a normalised position
    // when isNormalized) into out, cut to outSize bytes. No label.
    void GetDisplay(double v, bool isNormalized, char* out, std::size_t outSize) const;
    double ParseText(const char* text) const;

    const char* GetName() const { return name; }
    const char* GetLabel() const { return label; }
    void GetRange(double& lo, double& hi) const
    {
        lo = min;
        hi = max;
    }

    ParameterKind Kind() const { return kind; }
    bool IsIntegral() const
    {
        return kind == ParameterKind::Integral || kind == ParameterKind::Int || kind == ParameterKind::Enum;
    }
    double Value() const { return value; }
    double Min() const { return min; }
    double Max() const { return max; }
    double Step() const { return step; }
    double Shape() const { return shape; }
    int Decimals() const { return decimals; }

private:
    // The real value at a normalised position, the position clamped to 0 .. 1 first.
    double ValueAtPosition(double normalized) const;

    ParameterKind kind = ParameterKind::None;
    double value = 0.0;
    double min = 0.0;
    double max = 1.0;
    double step = 1.0;
    double shape = 1.0;
    std::int32_t decimals = 0;
    char name[kParamTextSize] = {};
    char label[kParamTextSize] = {};
    std::vector<DisplayTextEntry> textEntries;
};
