#include "host/module_native.h"

#include <dlfcn.h>

namespace host::native {

void* LoadModule(const std::string& path, std::string& why)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        why = reason ? reason : "unknown error";
    }
    return handle;
}

void UnloadModule(void* handle)
{
    dlclose(handle);
}

vst2::EntryProc FindEntry(void* handle, const char* name)
{
    return reinterpret_cast<vst2::EntryProc>(dlsym(handle, name));
}

} // namespace host::native
