#pragma once

#include <cairo.h>

#include <memory>
#include <string>

namespace artwork {

struct SurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextRelease {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceRelease>;
using Context = std::unique_ptr<cairo_t, ContextRelease>;

// A cleared image surface; `withAlpha` false gives an opaque RGB image, which
// the PNG writer stores without an alpha channel.
Surface MakeSurface(int width, int height, bool withAlpha);
Context MakeContext(const Surface& surface);

// A new surface holding the rectangle (x, y, width, height) of `source`.
Surface CropSurface(const Surface& source, int x, int y, int width, int height, bool withAlpha);

// Writes the surface as PNG; throws std::runtime_error on failure.
void WritePng(const Surface& surface, const std::string& path);

} // namespace artwork
