#include "tools/artwork/cairo_handles.h"

#include <stdexcept>

namespace artwork {

Surface MakeSurface(int width, int height, bool withAlpha)
{
    Surface surface(
        cairo_image_surface_create(withAlpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot create a drawing surface");
    return surface;
}

Context MakeContext(const Surface& surface)
{
    Context context(cairo_create(surface.get()));
    if (cairo_status(context.get()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot create a drawing context");
    return context;
}

Surface CropSurface(const Surface& source, int x, int y, int width, int height, bool withAlpha)
{
    Surface part = MakeSurface(width, height, withAlpha);
    const Context cr = MakeContext(part);
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr.get(), source.get(), -x, -y);
    cairo_paint(cr.get());
    cairo_surface_flush(part.get());
    return part;
}

void WritePng(const Surface& surface, const std::string& path)
{
    cairo_surface_flush(surface.get());
    if (cairo_surface_write_to_png(surface.get(), path.c_str()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot write " + path);
}

} // namespace artwork
