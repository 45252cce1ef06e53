#include "vst2/module_handle.h"

#include <windows.h>

namespace {
// Library-wide: set by DllMain while the loader lock is held, before any entry
// point can be called; read-only afterwards.
HINSTANCE moduleHandle = nullptr;
} // namespace

// Only stores the handle: the loader lock is held here, so nothing that could
// load libraries or wait on other threads may run.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        moduleHandle = instance;
    return TRUE;
}

namespace vst2 {

void* ModuleHandle() noexcept
{
    if (moduleHandle)
        return moduleHandle;
    // Linked into a program (the test suites): DllMain never runs there, so
    // ask which module holds this function.
    HMODULE self = nullptr;
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(&ModuleHandle), &self))
        return self;
    return nullptr;
}

} // namespace vst2
