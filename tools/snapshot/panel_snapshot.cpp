#include "tools/snapshot/panel_snapshot.h"

#include "core/iparameter.h"
#include "editor/editor_view.h"
#include "editor/headless_view.h"
#include "plugin/vstclass.h"
#include "raster/png_image.h"
#include "raster/raster_bitmap.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <memory>

namespace snapshot {
namespace {

constexpr float kSampleRate = 44100.0f;
constexpr int kBlockFrames = 512;

// The parameter a setting names: its index or its name.
int FindParameter(IPlugBase& plug, const std::string& key)
{
    int index = -1;
    const auto [end, ec] = std::from_chars(key.data(), key.data() + key.size(), index);
    if (ec == std::errc() && end == key.data() + key.size())
        return plug.GetParam(index) ? index : -1;
    for (int i = 0; i < plug.NParams(); ++i)
        if (key == plug.GetParam(i)->GetName())
            return i;
    return -1;
}

// The bitmap's colours, without alpha.
Picture PictureOf(const RasterBitmap& bitmap)
{
    Picture picture;
    picture.width = bitmap.Width();
    picture.height = bitmap.Height();
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.pixels[static_cast<std::size_t>(y * picture.width + x)] = *bitmap.At(x, y) & 0xFFFFFFu;
    return picture;
}

void RenderOneBlock(VSTCLASS& plug)
{
    std::vector<float> silence(kBlockFrames, 0.0f);
    std::vector<float> left(kBlockFrames), right(kBlockFrames);
    float* inputs[2] = {silence.data(), silence.data()};
    float* outputs[2] = {left.data(), right.data()};
    plug.ProcessFloat(inputs, outputs, kBlockFrames, IPlugVST::ProcessMode::Replace);
}

} // namespace

bool ParseSetting(const std::string& text, Setting& out)
{
    const auto eq = text.find('=');
    if (eq == std::string::npos || eq == 0)
        return false;
    out.parameter = text.substr(0, eq);
    out.value = text.substr(eq + 1);
    return true;
}

bool PaintPanel(int program, const std::vector<Setting>& settings, Picture& out, std::string& error)
{
    auto plug = std::make_unique<VSTCLASS>(nullptr, MakeHeadlessView);
    auto* view = dynamic_cast<IEditorView*>(plug->Editor());
    if (!view || !view->canvas()) {
        error = "the panel could not be built";
        return false;
    }
    plug->Dispatch(vst2::kOpOpen, 0, 0, nullptr, 0.0f);
    plug->Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, kSampleRate);
    plug->Dispatch(vst2::kOpSetBlockSize, 0, kBlockFrames, nullptr, 0.0f);
    plug->Dispatch(vst2::kOpProcessingOnOff, 0, 1, nullptr, 0.0f);
    if (program < 0 || program >= plug->NPrograms()) {
        error = "program slot " + std::to_string(program) + " does not exist (the slots are 0 to " +
                std::to_string(plug->NPrograms() - 1) + ")";
        return false;
    }
    plug->Dispatch(vst2::kOpSetProgram, 0, program, nullptr, 0.0f);
    for (const Setting& s : settings) {
        const int index = FindParameter(*plug, s.parameter);
        if (index < 0) {
            error = "no parameter \"" + s.parameter + "\"";
            return false;
        }
        std::string text = s.value;
        plug->Dispatch(vst2::kOpStringToParameter, index, 0, text.data(), 0.0f);
    }
    RenderOneBlock(*plug);

    view->openWindow(nullptr);
    IArea dirty;
    view->collectDirty(dirty);
    view->paint(IArea{0, 0, view->Width(), view->Height()});

    out = PictureOf(*view->canvas());
    view->closeWindow();
    return true;
}

bool ReadPng(const std::string& path, Picture& out)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                          std::istreambuf_iterator<char>()};
    const std::unique_ptr<RasterBitmap> bitmap = DecodePng(bytes);
    if (!bitmap)
        return false;
    out = PictureOf(*bitmap);
    return true;
}

} // namespace snapshot
