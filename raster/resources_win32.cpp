// On Windows the images are resources of type "PNG" in the module, compiled in
// from the resource script.

#include "raster/resources.h"

#include <windows.h>

std::span<const std::uint8_t> FindPngResource(void* module, int resourceId)
{
    if (resourceId < 0 || resourceId > 0xFFFF)
        return {};
    const auto instance = static_cast<HMODULE>(module);
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(resourceId), "PNG");
    if (!found)
        return {};
    const DWORD size = SizeofResource(instance, found);
    HGLOBAL loaded = LoadResource(instance, found);
    if (!loaded || size == 0)
        return {};
    const void* bytes = LockResource(loaded);
    if (!bytes)
        return {};
    return {static_cast<const std::uint8_t*>(bytes), static_cast<std::size_t>(size)};
}
