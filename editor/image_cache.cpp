#include "editor/image_cache.h"

#include "core/instance_lock.h"
#include "raster/raster_bitmap.h"

#include <vector>

namespace {

struct CachedImage {
    int id;
    std::unique_ptr<RasterBitmap> bitmap;
};

// Made on first use and released when the library is unloaded, so a host that
// loads and unloads the plug-in again and again gets the memory back. Every
// editor is gone by then: the host closes its instances before unloading.
struct ImageCache {
    InstanceLock lock;
    std::vector<CachedImage> images;
};

ImageCache& Cache()
{
    static ImageCache cache;
    return cache;
}

} // namespace

RasterBitmap* FindOrLoadImage(int resourceId, const std::function<std::unique_ptr<RasterBitmap>()>& decode)
{
    ImageCache& cache = Cache();
    LockGuard guard(cache.lock);
    if (resourceId != kDerivedImageId) {
        for (const CachedImage& image : cache.images)
            if (image.id == resourceId)
                return image.bitmap.get();
    }
    try {
        std::unique_ptr<RasterBitmap> bitmap = decode ? decode() : nullptr;
        if (!bitmap)
            return nullptr;
        RasterBitmap* kept = bitmap.get();
        cache.images.push_back(CachedImage{resourceId, std::move(bitmap)});
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
    ImageCache& cache = Cache();
    LockGuard guard(cache.lock);
    return static_cast<int>(cache.images.size());
}
