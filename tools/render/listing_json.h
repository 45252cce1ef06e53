#pragma once
// --list-programs and --list-params as JSON (--json), one document per line.

#include <string>

namespace render {

class PluginSession;

// {"programs":[{"slot":0,"name":"..."},...]}
std::string ProgramListJson(PluginSession& session);

// {"parameters":[{"index":0,"name":"Base Freq","reference":"Base Freq","value":200,"display":"200.0",
//   "unit":"Hz","min":20,"max":20000},...]}; parameters with choices list them instead of min and max.
std::string ParameterListJson(PluginSession& session);

} // namespace render
