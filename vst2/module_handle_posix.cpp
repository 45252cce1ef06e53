#include "vst2/module_handle.h"

namespace vst2 {

// Shared objects have no handle the plug-in needs: resources are embedded and
// found by id.
void* ModuleHandle() noexcept
{
    return nullptr;
}

} // namespace vst2
