#pragma once
// GRAPH, an LFO indicator: a 6-pixel marker sliding along a 2-pixel track
// under an LFO section, showing where the LFO holds its target within the
// target's range. The tone engine writes the values (audio thread); the
// indicator reads them when it paints (UI thread), so they are atomics. It is
// repainted on every tick.

#include "core/panel_feed.h"
#include "editor/icontrol.h"

#include <atomic>
#include <cstdint>

class GRAPH : public IControl, public LfoIndicatorFeed {
public:
    // Which LFO it shows: only the second one shows a conflict (the red
    // marker at the start of its track while it yields to the first).
    enum Role { kFirstLfo, kSecondLfo };

    GRAPH(IPlugBase* plug, const IArea& track, Role role);

    void ShowLevel(float level) override;
    void ShowRange(float lo, float hi) override;
    void ShowActive(bool active) override;
    void ShowConflict(bool conflict) override;

    bool needsPaint() const override { return true; }
    bool paint(IEditorView& view) override;

    // The marker's offset from the track's left end, 0 to 195 pixels; -1 when
    // the range is empty or a value is not a number (no marker is drawn).
    int markerOffset() const;

    static constexpr int kTravel = 195;
    static constexpr int kMarkerWidth = 6;

private:
    Role role;
    std::atomic<float> level{0.0f};
    std::atomic<std::uint64_t> range{0}; // the two floats' bits: lo low, hi high
    std::atomic<bool> shown{false};
    std::atomic<bool> conflict{false};
};
