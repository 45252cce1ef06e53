#include "core/iparameter.h"

#include "core/bounded_string.h"

#include <algorithm>
#include <cmath>
#include <cstring>

IParameter::IParameter() = default;

void IParameter::DefineReal(const char* newName, double defaultValue, double minValue, double maxValue,
                            double stepSize, const char* newLabel)
{
    if (kind == ParameterKind::None)
        kind = ParameterKind::Double;
    CopyText(name, sizeof name, newName);
    CopyText(label, sizeof label, newLabel);
    min = minValue;
    value = defaultValue;
    max = maxValue < minValue + stepSize ? minValue + stepSize : maxValue;
    step = stepSize;

    decimals = 0;
    double s = stepSize;
    while (std::isfinite(s) && s != std::floor(s)) {
        if (++decimals >= 6)
            break;
        s *= 10.0;
    }
}

void IParameter::DefineInteger(const char* newName, std::int32_t defaultValue, std::int32_t minValue,
                               std::int32_t maxValue, const char* newLabel)
{
    if (kind == ParameterKind::None)
        kind = ParameterKind::Int;
    DefineReal(newName, defaultValue, minValue, maxValue, 1.0, newLabel);
}

void IParameter::DefineChoice(const char* newName, std::int32_t defaultIndex, std::int32_t count,
                              const char* newLabel)
{
    if (kind == ParameterKind::None)
        kind = ParameterKind::Enum;
    DefineReal(newName, defaultIndex, 0.0, static_cast<double>(count) - 1.0, 1.0, newLabel);
}

void IParameter::SetName(const char* newName)
{
    CopyText(name, sizeof name, newName);
}

void IParameter::SetCurveExponent(double exponent)
{
    if (exponent != 0.0 && !std::isnan(exponent))
        shape = exponent;
}

void IParameter::AddDisplayText(std::int32_t v, const char* text)
{
    DisplayTextEntry entry{};
    entry.value = v;
    CopyText(entry.text, sizeof entry.text, text);
    textEntries.push_back(entry);
}

const char* IParameter::GetDisplayTextForValue(std::int32_t v) const
{
    for (const auto& entry : textEntries)
        if (entry.value == v)
            return entry.text;
    return "";
}

bool IParameter::FindDisplayTextValue(const char* text, std::int32_t& out) const
{
    if (!text)
        return false;
    for (const auto& entry : textEntries) {
        if (std::strcmp(entry.text, text) == 0) {
            out = entry.value;
            return true;
        }
    }
    return false;
}

double IParameter::NormalizeValue(double x) const
{
    if (!(max > min))
        return 0.0;
    const double clamped = std::isnan(x) ? min : std::clamp(x, min, max);
    return std::pow((clamped - min) / (max - min), 1.0 / shape);
}

double IParameter::ValueAtPosition(double normalized) const
{
    // Positions outside 0 .. 1 from a misbehaving host count as the nearest
    // end: with a curved mapping a negative position would otherwise fold back
    // into the range (-0.5 squared is 0.25). NaN counts as the minimum.
    normalized = std::isnan(normalized) ? 0.0 : std::clamp(normalized, 0.0, 1.0);
    return min + (max - min) * std::pow(normalized, shape);
}

void IParameter::WriteNormalized(double normalized)
{
    if (!std::isfinite(normalized))
        return;
    double v = ValueAtPosition(normalized);
    if (kind != ParameterKind::Double)
        v = std::floor(v / step + 0.5) * step;
    // The upper bound is the mapping's own; the lower one keeps positions below
    // 0 from a misbehaving host out of the engine.
    v = std::min(v, max);
    value = std::isnan(v) || v < min ? min : v;
}

void IParameter::SetClamped(double x)
{
    if (std::isnan(x) || x < min)
        value = min;
    else if (x > max)
        value = max;
    else
        value = x;
}

void IParameter::GetDisplay(double v, bool isNormalized, char* out, std::size_t outSize) const
{
    if (!out || outSize == 0)
        return;
    if (isNormalized)
        v = ValueAtPosition(v);
    if (!textEntries.empty()) {
        const std::int32_t index = SaturatingTrunc(v);
        for (const auto& entry : textEntries) {
            if (entry.value == index) {
                if (entry.text[0]) {
                    CopyText(out, outSize, entry.text);
                    return;
                }
                break;
            }
        }
    }
    if (v == 0.0)
        CopyText(out, outSize, "0");
    else if (decimals == 0)
        FormatInt(out, outSize, SaturatingTrunc(v));
    else
        FormatFixed(out, outSize, v, decimals);
}

double IParameter::ParseText(const char* text) const
{
    std::int32_t v = 0;
    if (!textEntries.empty() && FindDisplayTextValue(text, v))
        return v;
    return ParseLeadingNumber(text);
}
