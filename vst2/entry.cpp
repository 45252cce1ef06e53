// The module's only exports: the two entry points a host looks for.

#include "vst2/iplug_vst.h"

#if defined(_WIN32)
#define TESSAPHON_EXPORT __declspec(dllexport)
#else
#define TESSAPHON_EXPORT __attribute__((visibility("default")))
#endif

extern "C" TESSAPHON_EXPORT vst2::EffectDescriptor* VSTPluginMain(vst2::HostCallback host)
{
    return vst2::CreateEffect(host);
}

// Older hosts look for "main"; C++ does not allow a function of that name with
// this signature, so it gets the symbol through an assembler label.
extern "C" TESSAPHON_EXPORT vst2::EffectDescriptor* LegacyMain(vst2::HostCallback host) __asm__("main");

extern "C" vst2::EffectDescriptor* LegacyMain(vst2::HostCallback host)
{
    return vst2::CreateEffect(host);
}
