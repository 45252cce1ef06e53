// The PNG images are compiled into the library as byte arrays (the table is
// generated from resources/images.cmake), so the plug-in needs no files beside
// its module.

#include "raster/embedded_resources.h"
#include "raster/resources.h"

std::span<const std::uint8_t> FindPngResource(void*, int resourceId)
{
    for (std::size_t i = 0; i < kEmbeddedPngCount; ++i) {
        if (kEmbeddedPngs[i].id == resourceId)
            return {kEmbeddedPngs[i].data, kEmbeddedPngs[i].size};
    }
    return {};
}
