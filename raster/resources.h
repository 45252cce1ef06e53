#pragma once
// Looks up the PNG images stored in the library by numeric id: Win32 resources
// of type "PNG" on Windows, bytes embedded at build time elsewhere. Both sides
// list the same images under the same ids.

#include <cstdint>
#include <span>

// The bytes of the "PNG" resource with this id in the module (an HMODULE on
// Windows, ignored elsewhere); empty when there is none. The bytes live as
// long as the module is loaded.
std::span<const std::uint8_t> FindPngResource(void* module, int resourceId);
