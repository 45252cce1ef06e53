#include "host/module_native.h"

#include <windows.h>

namespace host::native {

namespace {

std::string DescribeError(DWORD code)
{
    char text[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        code, 0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return "error " + std::to_string(code) + (message.empty() ? "" : " (" + message + ")");
}

} // namespace

void* LoadModule(const std::string& path, std::string& why)
{
    // No "cannot find DLL" dialog box when the module or one of its imports is missing.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE handle = LoadLibraryA(path.c_str());
    const DWORD code = handle ? 0 : GetLastError();
    SetErrorMode(previousMode);
    if (!handle)
        why = DescribeError(code);
    return handle;
}

void UnloadModule(void* handle)
{
    FreeLibrary(static_cast<HMODULE>(handle));
}

vst2::EntryProc FindEntry(void* handle, const char* name)
{
    const FARPROC proc = GetProcAddress(static_cast<HMODULE>(handle), name);
    // FARPROC stands for any function; void (*)() is the type GCC lets stand for
    // any function without a warning.
    return reinterpret_cast<vst2::EntryProc>(reinterpret_cast<void (*)()>(proc));
}

} // namespace host::native
