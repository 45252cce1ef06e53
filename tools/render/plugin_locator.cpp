#include "tools/render/plugin_locator.h"

namespace render {

namespace {

void AddSearchList(std::vector<std::string>& out, const std::string& list)
{
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = list.find(':', start);
        const std::string folder =
            list.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!folder.empty())
            out.push_back(folder + "/" + kModuleFileName);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
}

} // namespace

std::vector<std::string> ModuleCandidates(const std::string& toolDir, const std::string& home,
                                          const std::string& lxvstPath, const std::string& vstPath)
{
    std::vector<std::string> out;
    out.push_back(toolDir + "/" + kModuleFileName);
    out.push_back(toolDir + "/../vst2/" + kModuleFileName);
    // An installed tool (PREFIX/bin) uses the plug-in installed with it.
    out.push_back(toolDir + "/../lib/vst/" + kModuleFileName);
    AddSearchList(out, lxvstPath);
    AddSearchList(out, vstPath);
    if (!home.empty()) {
        out.push_back(home + "/.vst/" + kModuleFileName);
        out.push_back(home + "/.lxvst/" + kModuleFileName);
    }
    out.push_back(std::string("/usr/lib/vst/") + kModuleFileName);
    out.push_back(std::string("/usr/local/lib/vst/") + kModuleFileName);
    out.push_back(std::string("/usr/lib/lxvst/") + kModuleFileName);
    out.push_back(std::string("/usr/local/lib/lxvst/") + kModuleFileName);
    return out;
}

} // namespace render
