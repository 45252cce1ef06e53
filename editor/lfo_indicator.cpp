#include "editor/lfo_indicator.h"

#include "editor/editor_view.h"

#include <bit>
#include <cmath>

namespace {

const IRGBA kMarkerColour{150, 255, 255, 255};
const IRGBA kConflictColour{200, 255, 0, 0};

} // namespace

GRAPH::GRAPH(IPlugBase* owner, const IArea& track, Role which) : IControl(owner, track, -1), role(which) {}

void GRAPH::ShowLevel(float v)
{
    level.store(v, std::memory_order_relaxed);
}

void GRAPH::ShowRange(float lo, float hi)
{
    const auto bits = std::uint64_t{std::bit_cast<std::uint32_t>(lo)} |
                      (std::uint64_t{std::bit_cast<std::uint32_t>(hi)} << 32);
    range.store(bits, std::memory_order_relaxed);
}

void GRAPH::ShowActive(bool active)
{
    shown.store(active, std::memory_order_relaxed);
}

void GRAPH::ShowConflict(bool yields)
{
    conflict.store(yields, std::memory_order_relaxed);
}

int GRAPH::markerOffset() const
{
    const std::uint64_t bits = range.load(std::memory_order_relaxed);
    const auto lo = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
    const auto hi = std::bit_cast<float>(static_cast<std::uint32_t>(bits >> 32));
    const float span = hi - lo;
    if (!(span != 0.0f))
        return -1;
    const float d = (level.load(std::memory_order_relaxed) - lo) * static_cast<float>(kTravel) / span;
    if (!std::isfinite(d))
        return -1;
    // A level outside the range keeps the marker at the track's end, inside
    // the area this control repaints.
    const int offset = NearestInt(d);
    return offset < 0 ? 0 : (offset > kTravel ? kTravel : offset);
}

bool GRAPH::paint(IEditorView& view)
{
    if (shown.load(std::memory_order_relaxed)) {
        const int d = markerOffset();
        if (d >= 0)
            view.fillArea(kMarkerColour,
                          {drawRect.L + d, drawRect.T, drawRect.L + kMarkerWidth + d, drawRect.B});
    } else if (role == kSecondLfo && conflict.load(std::memory_order_relaxed)) {
        view.fillArea(kConflictColour, {drawRect.L, drawRect.T, drawRect.L + kMarkerWidth, drawRect.B});
    }
    return true;
}
