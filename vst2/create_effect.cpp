#include "vst2/iplug_vst.h"

#include <new>

namespace vst2 {

EffectDescriptor* CreateEffect(HostCallback host) noexcept
{
    try {
        LockGuard guard(CreationLock());
        IPlugVST* plug = MakePlugin(host);
        if (!plug)
            return nullptr;
        plug->EnsureAtLeastOneProgram();
        EffectDescriptor* descriptor = plug->Descriptor();
        if (descriptor->numPrograms < 1)
            descriptor->numPrograms = 1;
        return descriptor;
    } catch (...) {
        return nullptr;
    }
}

} // namespace vst2
