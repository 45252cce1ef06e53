// tessaphon-artwork: draws the editor's images into the resources folder and,
// when a second folder is given, a preview of the composed panel there.
//   tessaphon-artwork <resources folder> [<preview folder>]
#include "tools/artwork/background.h"
#include "tools/artwork/button_face.h"
#include "tools/artwork/cairo_handles.h"
#include "tools/artwork/knob_cap.h"
#include "tools/artwork/label_fonts.h"
#include "tools/artwork/panel_geometry.h"
#include "tools/artwork/preview.h"
#include "tools/artwork/switch_face.h"
#include "tools/artwork/target_list.h"
#include "tools/artwork/wave_selector.h"

#include <cstdio>
#include <exception>
#include <string>

namespace {

using namespace artwork;
namespace g = artwork::geometry;

Surface DrawSyncLit()
{
    const g::Box& place = g::kSyncButton[0];
    Surface surface = MakeSurface(static_cast<int>(place.Width()), static_cast<int>(place.Height()), true);
    const Context context = MakeContext(surface);
    PaintButton(context.get(), {0.0, 0.0, place.Width(), place.Height()}, "SYNC", ButtonMark::Lamp, true);
    cairo_surface_flush(surface.get());
    return surface;
}

Surface CropBox(const Surface& source, const g::Box& box)
{
    return CropSurface(source, static_cast<int>(box.left), static_cast<int>(box.top),
                       static_cast<int>(box.Width()), static_cast<int>(box.Height()), false);
}

PanelImages DrawAll()
{
    PanelImages images;
    images.background = DrawBackground({});
    const Surface lit = DrawBackground({.play = true, .restart = true});
    images.largeKnob = DrawKnobCap(g::kLargeKnob);
    images.smallKnob = DrawKnobCap(g::kSmallKnob);
    images.carrierSelector = DrawCarrierSelector();
    images.lfoWaveSelector = DrawLfoWaveSelector();
    images.playLit = CropBox(lit, g::kPlayButton);
    images.switchStrip = DrawSwitchStrip();
    images.targetFaces = DrawTargetFaces();
    images.targetPane = DrawTargetPane();
    images.syncLit = DrawSyncLit();
    images.restartLit = CropBox(lit, g::kRestartButton);
    return images;
}

void WriteImages(const PanelImages& images, const std::string& folder)
{
    WritePng(images.background, folder + "/panel_background.png");
    WritePng(images.largeKnob, folder + "/knob_large.png");
    WritePng(images.smallKnob, folder + "/knob_small.png");
    WritePng(images.carrierSelector, folder + "/wave_selector.png");
    WritePng(images.lfoWaveSelector, folder + "/lfo_wave_selector.png");
    WritePng(images.playLit, folder + "/play_lit.png");
    WritePng(images.switchStrip, folder + "/switch.png");
    WritePng(images.targetFaces, folder + "/lfo_target_faces.png");
    WritePng(images.targetPane, folder + "/lfo_target_list.png");
    WritePng(images.syncLit, folder + "/sync_lit.png");
    WritePng(images.restartLit, folder + "/restart_lit.png");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <resources folder> [<preview folder>]\n", argv[0]);
        return 2;
    }
    try {
        LoadFonts();
        const PanelImages images = DrawAll();
        WriteImages(images, argv[1]);
        if (argc == 3) {
            const std::string folder = argv[2];
            for (int scene = 0; scene < PreviewCount(); ++scene) {
                const Surface preview = ComposePreview(images, scene);
                std::string name = folder + "/artwork-preview";
                if (scene > 0)
                    name.append(1, '-').append(std::to_string(scene));
                WritePng(preview, name + ".png");
                WritePng(Enlarge(preview, 2), name + "-2x.png");
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tessaphon-artwork: %s\n", error.what());
        return 1;
    }
    return 0;
}
