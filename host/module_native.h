#pragma once
// The platform seam of PluginModule: loading, unloading and looking up an
// entry point of a module. Defined in module_posix.cpp and module_win32.cpp.

#include "vst2/vst2_abi.h"

#include <string>

namespace host::native {

// The loaded module's handle, or null with the system's reason in why.
void* LoadModule(const std::string& path, std::string& why);
void UnloadModule(void* handle);
// The exported function of that name, or null.
vst2::EntryProc FindEntry(void* handle, const char* name);

} // namespace host::native
