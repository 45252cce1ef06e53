#pragma once
// Loads the built module once per test process and makes instances through its
// entry point, exactly as a host does.

#include "host/plugin_host.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// Whether this platform's module has an editor window (descriptor flag 0x01):
// an X11 window on Linux, a Win32 window on Windows.
inline constexpr bool kModuleHasEditor = true;

inline host::PluginModule& LoadedModule()
{
    static std::unique_ptr<host::PluginModule> module = [] {
        std::string error;
        auto m = host::PluginModule::Open(TESSAPHON_MODULE_PATH, error);
        if (!m)
            ADD_FAILURE() << error;
        return m;
    }();
    return *module;
}

class PluginTest : public ::testing::Test {
protected:
    std::unique_ptr<host::PluginInstance> Make(const char* entry = "VSTPluginMain")
    {
        std::string error;
        auto instance = host::PluginInstance::Create(LoadedModule(), state, error, entry);
        EXPECT_TRUE(instance) << error;
        return instance;
    }

    host::HostState state;
};
