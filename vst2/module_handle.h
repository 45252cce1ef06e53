#pragma once
// The handle of the module this code was linked into, for window classes and
// resource lookup. On Windows it is stored when the system attaches the DLL to a
// process; code linked into a program instead of the DLL gets the handle of the
// module that holds it. Elsewhere there is no such handle: null.

namespace vst2 {

// Any thread. The handle is written once, before any other code of the
// library runs, and only read afterwards.
void* ModuleHandle() noexcept;

} // namespace vst2
