#include "host/plugin_host.h"

#include <dlfcn.h>

namespace host {

std::unique_ptr<PluginModule> PluginModule::Open(const std::string& path, std::string& error)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        error = "cannot load " + path + ": " + (why ? why : "unknown error");
        return nullptr;
    }
    std::unique_ptr<PluginModule> module(new PluginModule());
    module->handle = handle;
    module->path = path;
    return module;
}

PluginModule::~PluginModule()
{
    if (handle)
        dlclose(handle);
}

vst2::EntryProc PluginModule::Entry(const char* name) const
{
    return reinterpret_cast<vst2::EntryProc>(dlsym(handle, name));
}

} // namespace host
