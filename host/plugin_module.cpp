#include "host/module_native.h"
#include "host/plugin_host.h"

namespace host {

std::unique_ptr<PluginModule> PluginModule::Open(const std::string& path, std::string& error)
{
    std::string why;
    void* handle = native::LoadModule(path, why);
    if (!handle) {
        error = "cannot load " + path + ": " + why;
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
        native::UnloadModule(handle);
}

vst2::EntryProc PluginModule::Entry(const char* name) const
{
    return native::FindEntry(handle, name);
}

} // namespace host
