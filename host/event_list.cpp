#include "host/event_list.h"

#include <cstddef>
#include <cstring>

namespace host {

void EventListBuilder::AddMidi(std::int32_t deltaFrames, std::uint8_t status, std::uint8_t data1,
                               std::uint8_t data2)
{
    auto event = std::make_unique<vst2::MidiEvent>();
    event->type = vst2::kEventMidi;
    event->byteSize = static_cast<std::int32_t>(sizeof(vst2::MidiEvent));
    event->deltaFrames = deltaFrames;
    event->midiData[0] = static_cast<char>(status);
    event->midiData[1] = static_cast<char>(data1);
    event->midiData[2] = static_cast<char>(data2);
    order.push_back(reinterpret_cast<vst2::Event*>(event.get()));
    midiEvents.push_back(std::move(event));
}

void EventListBuilder::AddSysEx(std::int32_t deltaFrames, std::vector<std::uint8_t> bytes)
{
    auto data = std::make_unique<std::vector<std::uint8_t>>(std::move(bytes));
    auto event = std::make_unique<vst2::SysExEvent>();
    event->type = vst2::kEventSysEx;
    event->byteSize = static_cast<std::int32_t>(sizeof(vst2::SysExEvent));
    event->deltaFrames = deltaFrames;
    event->dumpBytes = static_cast<std::int32_t>(data->size());
    event->sysexDump = reinterpret_cast<char*>(data->data());
    order.push_back(reinterpret_cast<vst2::Event*>(event.get()));
    sysExEvents.push_back(std::move(event));
    sysExData.push_back(std::move(data));
}

void EventListBuilder::AddOther(std::int32_t type)
{
    auto event = std::make_unique<vst2::Event>();
    event->type = type;
    event->byteSize = static_cast<std::int32_t>(sizeof(vst2::Event));
    order.push_back(event.get());
    otherEvents.push_back(std::move(event));
}

void EventListBuilder::AddNull()
{
    order.push_back(nullptr);
}

void* EventListBuilder::List()
{
    // Count (int32) and padding, the reserved word, then one pointer per event.
    static_assert(offsetof(vst2::EventList, events) == 2 * sizeof(std::uintptr_t));
    words.assign(2 + order.size(), 0);
    const auto count = static_cast<std::int32_t>(order.size());
    std::memcpy(words.data(), &count, sizeof count);
    for (std::size_t i = 0; i < order.size(); ++i)
        words[2 + i] = reinterpret_cast<std::uintptr_t>(order[i]);
    return words.data();
}

} // namespace host
