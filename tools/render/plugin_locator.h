#pragma once
// Where tessaphon-render looks for the plug-in module when --plugin is not
// given: beside the tool, in the build tree beside it, in the installed tree
// beside it (PREFIX/lib/vst for PREFIX/bin), then the folders Linux hosts scan.

#include <string>
#include <vector>

namespace render {

inline constexpr const char* kModuleFileName = "Tessaphon.so";

// The candidate files in search order, from the tool's folder, the user's
// home folder and the LXVST_PATH / VST_PATH search lists (colon-separated;
// either may be empty).
std::vector<std::string> ModuleCandidates(const std::string& toolDir, const std::string& home,
                                          const std::string& lxvstPath, const std::string& vstPath);

// The same, for this process: its own folder, $HOME and the environment.
std::vector<std::string> DefaultModuleCandidates();

// Folder of the running executable ("." when unknown).
std::string ToolDirectory();

} // namespace render
