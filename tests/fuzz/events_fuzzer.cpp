// Event lists as a host sends them with the process-events request: any
// number of events of any type, null entries, MIDI with any bytes and frame
// offsets, system-exclusive dumps of any length. The plug-in must answer 1 and
// keep rendering finite samples between and after the lists.
//
// Input: per list a count byte, then per event a type byte, a frame offset and
// either three MIDI bytes or a dump length and its bytes; after each list a
// block length.

#include "fuzz_host.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {

// One list in the interface's layout: count, reserved word, then the pointers.
struct BuiltList {
    std::vector<std::unique_ptr<std::uint8_t[]>> events;
    std::vector<std::vector<char>> dumps;
    std::vector<std::uint8_t> list;
};

BuiltList Build(fuzz::Bytes& in)
{
    BuiltList built;
    const int count = in.U8() % 40;
    std::vector<vst2::Event*> pointers;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t kind = in.U8();
        const auto offset = static_cast<std::int32_t>(in.U32());
        if (kind % 8 == 0) {
            pointers.push_back(nullptr);
            continue;
        }
        if (kind % 8 <= 3) {
            auto bytes = std::make_unique<std::uint8_t[]>(sizeof(vst2::MidiEvent));
            vst2::MidiEvent midi{};
            midi.type = vst2::kEventMidi;
            midi.byteSize = sizeof midi;
            midi.deltaFrames = offset;
            for (int b = 0; b < 4; ++b)
                midi.midiData[b] = static_cast<char>(in.U8());
            std::memcpy(bytes.get(), &midi, sizeof midi);
            pointers.push_back(reinterpret_cast<vst2::Event*>(bytes.get()));
            built.events.push_back(std::move(bytes));
        } else if (kind % 8 <= 5) {
            const auto dump = in.Take(in.U16() % 512);
            built.dumps.emplace_back(dump.begin(), dump.end());
            auto bytes = std::make_unique<std::uint8_t[]>(sizeof(vst2::SysExEvent));
            vst2::SysExEvent sysex{};
            sysex.type = vst2::kEventSysEx;
            sysex.byteSize = sizeof sysex;
            sysex.deltaFrames = offset;
            sysex.dumpBytes = static_cast<std::int32_t>(built.dumps.back().size());
            sysex.sysexDump = built.dumps.back().empty() ? nullptr : built.dumps.back().data();
            std::memcpy(bytes.get(), &sysex, sizeof sysex);
            pointers.push_back(reinterpret_cast<vst2::Event*>(bytes.get()));
            built.events.push_back(std::move(bytes));
        } else { // an event of a type the plug-in does not know
            auto bytes = std::make_unique<std::uint8_t[]>(sizeof(vst2::Event));
            vst2::Event event{};
            event.type = static_cast<std::int32_t>(in.U32());
            // A MIDI or system-exclusive event always comes in its own, longer record.
            if (event.type == vst2::kEventMidi || event.type == vst2::kEventSysEx)
                event.type += 100;
            event.byteSize = sizeof event;
            event.deltaFrames = offset;
            std::memcpy(bytes.get(), &event, sizeof event);
            pointers.push_back(reinterpret_cast<vst2::Event*>(bytes.get()));
            built.events.push_back(std::move(bytes));
        }
    }
    built.list.assign(offsetof(vst2::EventList, events) + pointers.size() * sizeof(void*) + sizeof(void*), 0);
    const std::int32_t n = count;
    std::memcpy(built.list.data(), &n, sizeof n);
    if (!pointers.empty())
        std::memcpy(built.list.data() + offsetof(vst2::EventList, events), pointers.data(),
                    pointers.size() * sizeof(void*));
    return built;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Bytes in(data, size);
    fuzz::Instance& plug = fuzz::PreparedInstance(48000.0f, 256);
    for (int round = 0; round < 8 && !in.Empty(); ++round) {
        BuiltList built = Build(in);
        if (plug.Dispatch(vst2::kOpProcessEvents, 0, 0, built.list.data()) != 1)
            fuzz::Fail("an event list was not taken");
        plug.Render(in.U8() % 3, in.U16() % 600);
    }
    plug.CheckParameters();
    return 0;
}
