#include "tools/render/parameter_lookup.h"

#include "host/plugin_host.h"
#include "tools/render/text_folding.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>

namespace render {

namespace {

// More choices than this and a parameter is treated as a plain number.
constexpr int kMaxChoices = 1024;

// Earlier versions of the plug-in gave two parameters each of these names, and
// the command line told them apart as "NAME#N"; scripts written then keep
// working. Keys are folded to lower case.
struct FormerName {
    const char* reference;
    const char* name;
};
constexpr FormerName kFormerNames[] = {
    {"isochronic#1", "Isochronic"},    {"isochronic#2", "Isochronic On"}, {"lfo1 rate#1", "LFO1 Rate"},
    {"lfo1 rate#2", "LFO1 Free Rate"}, {"lfo2 rate#1", "LFO2 Rate"},      {"lfo2 rate#2", "LFO2 Free Rate"},
};

// The current name for a former "NAME#N" reference, or the key itself.
std::string CurrentName(const std::string& folded)
{
    for (const FormerName& former : kFormerNames)
        if (folded == former.reference)
            return FoldCase(former.name);
    return folded;
}

std::vector<const ParameterInfo*> MatchName(const std::vector<ParameterInfo>& params,
                                            const std::string& folded)
{
    std::vector<const ParameterInfo*> matches;
    for (const ParameterInfo& p : params)
        if (!p.name.empty() && (FoldCase(p.name) == folded || FoldCase(p.reference) == folded))
            matches.push_back(&p);
    return matches;
}

// Decimal places written in a number text such as "20000.0".
int DecimalsOf(const std::string& text)
{
    const std::size_t point = text.find('.');
    if (point == std::string::npos)
        return 0;
    std::size_t n = 0;
    while (point + 1 + n < text.size() && text[point + 1 + n] >= '0' && text[point + 1 + n] <= '9')
        ++n;
    return static_cast<int>(n);
}

// Shortest text that reads back as v, whatever the locale.
std::string NumberText(double v)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, v);
    return std::string(text, result.ptr);
}

// Finds the values a parameter with display texts takes by asking where the
// plug-in puts whole numbers: the lowest value sits at position 0, the highest
// at 1. Each value's text is then read half a step above it, where the
// plug-in's truncation toward zero cannot fall short of the value.
bool ProbeChoices(host::PluginInstance& plugin, ParameterInfo& info)
{
    auto position = [&](double v, double& n) {
        return plugin.NormalizedForText(info.index, NumberText(v), n);
    };
    double n = 0.0;
    if (!position(0, n))
        return false;
    int low = 0;
    double m = 0.0;
    if (n > 0.0) {
        while (low > -kMaxChoices && position(low - 1, m) && m > 0.0)
            --low;
        --low;
    } else {
        while (low < kMaxChoices && position(low + 1, m) && m <= 0.0)
            ++low;
    }
    int high = low;
    while (high - low < kMaxChoices && position(high, m) && m < 1.0)
        ++high;
    if (high - low >= kMaxChoices)
        return false;
    info.firstChoice = low;
    for (int v = low; v <= high; ++v) {
        if (!position(v + 0.5, m))
            return false;
        info.choices.push_back(plugin.DisplayForNormalized(info.index, static_cast<float>(m)));
    }
    return true;
}

std::string JoinChoices(const ParameterInfo& param)
{
    std::string text;
    for (const std::string& choice : param.choices)
        text += (text.empty() ? "" : ", ") + choice;
    return text;
}

std::string FormatNumber(double v, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

} // namespace

std::string ParameterInfo::RangeText() const
{
    if (HasChoices()) {
        std::string text;
        for (const std::string& choice : choices)
            text += (text.empty() ? "" : " | ") + choice;
        return text;
    }
    return FormatNumber(min, decimals) + " to " + FormatNumber(max, decimals);
}

bool ReadNumber(const std::string& text, double& value)
{
    // Only the plain decimal form: no "inf", "nan" or hexadecimal.
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        std::size_t expDigits = 0;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    if (i != text.size())
        return false;
    const char* begin = text.data() + (text[0] == '+' ? 1 : 0);
    const auto result = std::from_chars(begin, text.data() + text.size(), value);
    return result.ec == std::errc() && std::isfinite(value);
}

std::vector<ParameterInfo> ProbeParameters(host::PluginInstance& plugin, int count)
{
    std::vector<ParameterInfo> params;
    for (int i = 0; i < count; ++i) {
        ParameterInfo info;
        info.index = i;
        info.name = plugin.ParamName(i);
        info.label = plugin.ParamLabel(i);
        const std::string low = plugin.DisplayForNormalized(i, 0.0f);
        const std::string high = plugin.DisplayForNormalized(i, 1.0f);
        double lo = 0.0;
        double hi = 0.0;
        if (ReadNumber(low, lo) && ReadNumber(high, hi)) {
            info.min = lo;
            info.max = hi;
            info.decimals = std::max(DecimalsOf(low), DecimalsOf(high));
        } else if (!ProbeChoices(plugin, info)) {
            info.choices.clear();
        }
        params.push_back(std::move(info));
    }
    AssignReferences(params);
    return params;
}

void AssignReferences(std::vector<ParameterInfo>& params)
{
    std::map<std::string, int> total;
    for (const ParameterInfo& p : params)
        ++total[FoldCase(p.name)];
    std::map<std::string, int> seen;
    for (ParameterInfo& p : params) {
        const std::string key = FoldCase(p.name);
        p.reference = p.name;
        if (!p.name.empty() && total[key] > 1)
            p.reference = p.name + "#" + std::to_string(++seen[key]);
    }
}

const ParameterInfo* FindParameter(const std::vector<ParameterInfo>& params, const std::string& key,
                                   std::string& error)
{
    const std::string wanted = Trim(key);
    const int count = static_cast<int>(params.size());
    if (IsDigits(wanted)) {
        int index = -1;
        const auto result = std::from_chars(wanted.data(), wanted.data() + wanted.size(), index);
        if (result.ec != std::errc() || index >= count) {
            error = "parameter index " + wanted + " does not exist (the indices are 0 to " +
                    std::to_string(count - 1) + ")";
            return nullptr;
        }
        return &params[static_cast<std::size_t>(index)];
    }
    const std::string folded = FoldCase(wanted);
    std::vector<const ParameterInfo*> matches = MatchName(params, folded);
    if (matches.empty())
        matches = MatchName(params, CurrentName(folded));
    if (matches.size() == 1)
        return matches.front();
    if (matches.empty()) {
        error = "unknown parameter \"" + wanted + "\" (--list-params shows the names and indices)";
        return nullptr;
    }
    error = "\"" + wanted + "\" names " + std::to_string(matches.size()) + " parameters; use one of:";
    for (const ParameterInfo* p : matches)
        error += "\n  " + std::to_string(p->index) + " or \"" + p->reference + "\"" +
                 (p->label.empty() ? "" : " (" + p->label + ")") + ": " + p->RangeText();
    return nullptr;
}

bool ValueTextFor(const ParameterInfo& param, const std::string& value, std::string& text, std::string& error)
{
    const std::string wanted = Trim(value);
    const std::string what = "\"" + param.reference + "\"";
    if (param.HasChoices()) {
        const std::string folded = FoldCase(wanted);
        for (const std::string& choice : param.choices) {
            if (!choice.empty() && FoldCase(choice) == folded) {
                text = choice;
                return true;
            }
        }
        double v = 0.0;
        const int last = param.firstChoice + static_cast<int>(param.choices.size()) - 1;
        if (ReadNumber(wanted, v) && v == std::floor(v) && v >= param.firstChoice && v <= last) {
            text = std::to_string(static_cast<int>(v));
            return true;
        }
        error = what + " cannot be \"" + wanted + "\"; choose one of: " + JoinChoices(param) + " (or " +
                std::to_string(param.firstChoice) + " to " + std::to_string(last) + ")";
        return false;
    }
    std::string number = wanted;
    if (!param.label.empty() && number.size() > param.label.size()) {
        const std::string tail = number.substr(number.size() - param.label.size());
        if (FoldCase(tail) == FoldCase(param.label))
            number = Trim(number.substr(0, number.size() - param.label.size()));
    }
    double v = 0.0;
    const std::string unit = param.label.empty() ? "" : " " + param.label;
    const std::string range =
        FormatNumber(param.min, param.decimals) + " to " + FormatNumber(param.max, param.decimals) + unit;
    if (!ReadNumber(number, v)) {
        error = what + " takes a number from " + range + ", not \"" + wanted + "\"";
        return false;
    }
    if (v < param.min || v > param.max) {
        error = what + " takes " + range + "; " + number + " is outside";
        return false;
    }
    if (param.decimals == 0 && v != std::floor(v)) {
        error = what + " takes whole numbers (" + range + "), not " + number;
        return false;
    }
    text = number;
    return true;
}

} // namespace render
