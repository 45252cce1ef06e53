#include "editor/image_cache.h"

#include "core/instance_lock.h"
#include "raster/raster_bitmap.h"

#include <vector>

namespace {

struct CachedImage {
    int id;
    std::unique_ptr<RasterBitmap> bitmap;
};

// Made while the library loads and deliberately never freed, like the font
// cache: no editor can be left holding a dangling image.
InstanceLock* const gImageLock = new InstanceLock();
std::vector<CachedImage>* const gImages = new std::vector<CachedImage>();

} // namespace

RasterBitmap* FindOrLoadImage(int resourceId, const std::function<std::unique_ptr<RasterBitmap>()>& decode)
{
    LockGuard guard(*gImageLock);
    if (resourceId != kDerivedImageId) {
        for (const CachedImage& image : *gImages)
            if (image.id == resourceId)
                return image.bitmap.get();
    }
    try {
        std::unique_ptr<RasterBitmap> bitmap = decode ? decode() : nullptr;
        if (!bitmap)
            return nullptr;
        RasterBitmap* kept = bitmap.get();
        gImages->push_back(CachedImage{resourceId, std::move(bitmap)});
        return kept;
    } catch (...) {
        return nullptr; // out of memory: the image is simply not drawn
    }
}

RasterBitmap* KeepDerivedImage(std::unique_ptr<RasterBitmap> image)
{
    return FindOrLoadImage(kDerivedImageId, [&image] { return std::move(image); });
}

int ImageCacheSize()
{
    LockGuard guard(*gImageLock);
    return static_cast<int>(gImages->size());
}
