#pragma once
// Builds the event list a host hands to a plug-in's process-events request:
// the list header, one pointer per event (null entries allowed) and the events
// themselves, all owned here and valid as long as the builder lives.

#include "vst2/vst2_abi.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace host {

class EventListBuilder {
public:
    void AddMidi(std::int32_t deltaFrames, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    void AddSysEx(std::int32_t deltaFrames, std::vector<std::uint8_t> bytes);
    // An event of a type the plug-in does not know.
    void AddOther(std::int32_t type);
    void AddNull();

    // The list in the VST 2 layout; rebuilt on every call.
    void* List();
    int Count() const { return static_cast<int>(order.size()); }

private:
    std::vector<std::unique_ptr<vst2::MidiEvent>> midiEvents;
    std::vector<std::unique_ptr<vst2::SysExEvent>> sysExEvents;
    std::vector<std::unique_ptr<vst2::Event>> otherEvents;
    std::vector<std::unique_ptr<std::vector<std::uint8_t>>> sysExData;
    std::vector<vst2::Event*> order;
    std::vector<std::uintptr_t> words; // header words, then the pointers
};

} // namespace host
