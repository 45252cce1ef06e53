#include "host/plugin_host.h"

#include <windows.h>

namespace host {

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

std::unique_ptr<PluginModule> PluginModule::Open(const std::string& path, std::string& error)
{
    // No "cannot find DLL" dialog box when the module or one of its imports is missing.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE handle = LoadLibraryA(path.c_str());
    const DWORD code = handle ? 0 : GetLastError();
    SetErrorMode(previousMode);
    if (!handle) {
        error = "cannot load " + path + ": " + DescribeError(code);
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
        FreeLibrary(static_cast<HMODULE>(handle));
}

vst2::EntryProc PluginModule::Entry(const char* name) const
{
    const FARPROC proc = GetProcAddress(static_cast<HMODULE>(handle), name);
    // FARPROC stands for any function; void (*)() is the type GCC lets stand for
    // any function without a warning.
    return reinterpret_cast<vst2::EntryProc>(reinterpret_cast<void (*)()>(proc));
}

} // namespace host
