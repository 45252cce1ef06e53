// The view's construction, layout building and the parameter traffic between
// the core and the controls.

#include "editor/editor_view.h"

#include "core/iplug_base.h"
#include "editor/icontrol.h"
#include "editor/image_cache.h"
#include "editor/image_control.h"
#include "raster/raster_bitmap.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kDefaultFrameRate = 24;

// A normalised value fit for a control: within 0..1; NaN has no place.
bool ToControlValue(double v, double& out)
{
    if (std::isnan(v))
        return false;
    out = std::clamp(v, 0.0, 1.0);
    return true;
}

} // namespace

IEditorView::IEditorView(IPlugBase* owner, int viewWidth, int viewHeight, int ticksPerSecond)
    : plug(owner), width(viewWidth), height(viewHeight),
      frameRate(ticksPerSecond > 0 ? ticksPerSecond : kDefaultFrameRate)
{
}

IEditorView::~IEditorView()
{
    boundControls.clear();
    while (!controls.empty())
        controls.pop_back();
    canvasBitmap.reset();
}

bool IEditorView::createCanvas()
{
    canvasBitmap = CreateSystemBitmap(width, height);
    return canvasBitmap != nullptr;
}

IControl* IEditorView::control(int index) const
{
    if (index < 0 || index >= controlCount())
        return nullptr;
    return controls[static_cast<std::size_t>(index)].get();
}

void IEditorView::setBackdrop(int resourceId, const char* name)
{
    const IImageStrip strip = loadStrip(resourceId, name, 1);
    auto background =
        std::make_unique<IImageControl>(plug, IArea{0, 0, strip.width, strip.height}, strip, IBlend{1, 1.0f});
    background->attachTo(this);
    controls.insert(controls.begin(), std::move(background));
}

int IEditorView::addControl(std::unique_ptr<IControl> control)
{
    if (!control)
        return -1;
    control->attachTo(this);
    const int index = control->paramIndex();
    if (index >= 0) {
        const auto slot = static_cast<std::size_t>(index);
        if (boundControls.size() <= slot)
            boundControls.resize(slot + 1);
        boundControls[slot].push_back(control.get());
    }
    controls.push_back(std::move(control));
    return controlCount() - 1;
}

IImageStrip IEditorView::loadStrip(int resourceId, const char* /*name*/, int frames)
{
    IImageStrip strip;
    strip.frames = std::max(frames, 1);
    strip.bitmap = FindOrLoadImage(resourceId, [this, resourceId] { return loadResourceImage(resourceId); });
    if (strip.bitmap) {
        strip.width = strip.bitmap->Width();
        strip.height = strip.bitmap->Height();
    }
    return strip;
}

void IEditorView::hideBoundControls(int index, bool hide)
{
    LockGuard guard(plug->Lock());
    for (auto& c : controls)
        if (c->paramIndex() == index)
            c->setHidden(hide);
}

void IEditorView::UpdateControlsForParameter(int index, double value, bool isNormalized)
{
    LockGuard guard(plug->Lock());
    if (!isNormalized) {
        const IParameter* param = plug->GetParam(index);
        if (!param)
            return;
        value = param->NormalizeValue(value);
    }
    double v = 0.0;
    if (!ToControlValue(value, v) || index < 0 || static_cast<std::size_t>(index) >= boundControls.size())
        return;
    for (IControl* c : boundControls[static_cast<std::size_t>(index)])
        c->valueFromPlugin(v);
}

void IEditorView::paramChangedFromUser(int index, double normalized)
{
    LockGuard guard(plug->Lock());
    double v = 0.0;
    if (!ToControlValue(normalized, v))
        return;
    bool bound = false;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        IControl* c = controls[i].get();
        if (c->paramIndex() == index) {
            c->valueFromUser(v);
            bound = true;
        }
    }
    // A parameter without a control on the panel still reaches host and engine.
    if (!bound)
        plug->SetParameterFromEditor(index, v);
}

void IEditorView::markAllDirty()
{
    LockGuard guard(plug->Lock());
    for (auto& c : controls)
        c->markDirty(false);
}

void IEditorView::commitTypedValue(IControl* control, IParameter* param, const char* text)
{
    if (!control || !param || !text)
        return;
    LockGuard guard(plug->Lock());
    const double normalized = param->NormalizeValue(param->ParseText(text));
    double v = 0.0;
    if (!ToControlValue(normalized, v))
        return;
    const int index = control->paramIndex();
    if (index >= 0)
        plug->BeginParamEdit(index);
    control->valueFromUser(v);
    if (index >= 0)
        plug->EndParamEdit(index);
}

void IEditorView::armEndEditCountdown(int ticks)
{
    LockGuard guard(plug->Lock());
    countdown = std::max(ticks, 0);
}

void IEditorView::clearEndEditCountdown()
{
    LockGuard guard(plug->Lock());
    countdown = 0;
}

bool IEditorView::tickEndEditCountdown()
{
    LockGuard guard(plug->Lock());
    if (countdown <= 0)
        return false;
    if (--countdown > 0)
        return false;
    plug->FlushPendingParamEdit();
    return true;
}
