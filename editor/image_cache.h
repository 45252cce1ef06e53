#pragma once
// The process-wide cache of decoded editor images, shared by every editor
// instance and guarded by its own lock. Images live until the process ends:
// strips and controls keep plain pointers to them. Derived images (crops) are
// kept under id -1 and never found by id.

#include <functional>
#include <memory>

class RasterBitmap;

inline constexpr int kDerivedImageId = -1;

// The cached image with this id; on a miss, the image `decode` makes is
// entered and returned. Null when there is none and decode gives none (a miss
// is not remembered, so a later call may try again).
RasterBitmap* FindOrLoadImage(int resourceId, const std::function<std::unique_ptr<RasterBitmap>()>& decode);

// Keeps a derived image for the rest of the process; the kept pointer.
RasterBitmap* KeepDerivedImage(std::unique_ptr<RasterBitmap> image);

// Number of images in the cache, derived ones included.
int ImageCacheSize();
