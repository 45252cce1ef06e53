#pragma once
// What tessaphon-render knows about the plug-in's parameters, learnt only
// through the host requests (names, labels, display texts, text to position),
// and how a PARAM=VALUE from the command line is checked against it before the
// plug-in's own text-to-parameter request receives the value.

#include <string>
#include <vector>

namespace host {
class PluginInstance;
}

namespace render {

struct ParameterInfo {
    int index = 0;
    std::string name;      // as the plug-in reports it (8-bit text)
    std::string label;     // unit: "Hz", "%", "ms" or empty
    std::string reference; // how to name it on the command line: the name, "NAME#N" when the name repeats
    // A parameter with display texts takes one of its choices: choices[k] is
    // the text of the value firstChoice + k.
    std::vector<std::string> choices;
    int firstChoice = 0;
    // Otherwise a number from min to max, shown with decimals places.
    double min = 0.0;
    double max = 1.0;
    int decimals = 0;

    bool HasChoices() const { return !choices.empty(); }
    std::string RangeText() const; // "20.0 to 20000.0" or "Sine | Triangle | ..."
};

// Asks the plug-in about every parameter. Only requests that do not change a
// parameter are used, so the instance's sound is untouched.
std::vector<ParameterInfo> ProbeParameters(host::PluginInstance& plugin, int count);

// Gives repeated names their "NAME#N" references (N counts from 1 in index order).
void AssignReferences(std::vector<ParameterInfo>& params);

// The parameter that key names: an index, a name (ASCII case ignored),
// "NAME#N" for the N-th parameter of a repeated name, or one of the "NAME#N"
// forms of earlier versions ("Isochronic#2" is "Isochronic On"). Null with a message in
// error when nothing or more than one parameter matches.
const ParameterInfo* FindParameter(const std::vector<ParameterInfo>& params, const std::string& key,
                                   std::string& error);

// The text to hand the plug-in for value, or false with a message: a choice
// (ASCII case ignored) or its number, or a number within the range, written
// plainly or followed by the unit ("10.6", "10.6 Hz"); whole numbers only for
// parameters shown without decimals.
bool ValueTextFor(const ParameterInfo& param, const std::string& value, std::string& text,
                  std::string& error);

// Reads the whole text as a finite decimal number (sign, digits, point,
// exponent); false for anything else.
bool ReadNumber(const std::string& text, double& value);

} // namespace render
