#include "tools/render/plugin_locator.h"

#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace render {

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string HomeDirectory()
{
    const std::string home = Environment("HOME");
    if (!home.empty())
        return home;
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}

} // namespace

std::string ToolDirectory()
{
    char path[PATH_MAX + 1] = {};
    const ssize_t n = readlink("/proc/self/exe", path, PATH_MAX);
    if (n <= 0)
        return ".";
    const std::string exe(path, static_cast<std::size_t>(n));
    const std::size_t slash = exe.find_last_of('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : exe.substr(0, slash));
}

std::vector<std::string> DefaultModuleCandidates()
{
    return ModuleCandidates(ToolDirectory(), HomeDirectory(), Environment("LXVST_PATH"),
                            Environment("VST_PATH"));
}

} // namespace render
