// The MIDI event path: lists of events built from the input, each followed by
// an audio block. Every event is a MIDI event with any bytes and any offset,
// or now and then an event of another type.
#include "fuzz/FuzzHost.h"
#include "fuzz/FuzzInput.h"

namespace {

constexpr VstInt32 kMostEventsPerList = 600;

VstEvent makeEvent(FuzzInput& input, VstInt32 blockFrames) {
    VstEvent event{};
    const uint8_t kind = input.byte();
    // Mostly offsets inside the block, now and then anything at all.
    event.deltaFrames = (kind & 0x80) ? static_cast<VstInt32>(input.u32()) : input.range(0, blockFrames - 1);
    if ((kind & 0x70) == 0x70) {
        event.type = input.range(-2, 8);
        if (event.type == kVstSysExType) event.type = kVstMidiType + 1;  // a sysex record carries a pointer
        event.byteSize = static_cast<VstInt32>(input.u32());
        for (char& c : event.data) c = static_cast<char>(input.byte());
        return event;
    }
    VstMidiEvent midi{};
    midi.type = kVstMidiType;
    midi.byteSize = sizeof(VstMidiEvent);
    midi.deltaFrames = event.deltaFrames;
    for (char& c : midi.midiData) c = static_cast<char>(input.byte());
    std::memcpy(&event, &midi, sizeof event);
    return event;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    FuzzHost host;
    const VstInt32 blockFrames = input.range(1, 1024);
    host.start(44100.0f, blockFrames);
    std::vector<VstEvent> events;
    std::vector<VstIntPtr> header;
    while (!input.empty()) {
        const VstInt32 count = input.range(0, input.byte() == 0xFF ? kMostEventsPerList : 16);
        events.clear();
        for (VstInt32 i = 0; i < count && !input.empty(); ++i) events.push_back(makeEvent(input, blockFrames));
        // The list as hosts build it: the header, then one pointer per event.
        header.assign(2 + events.size() + 2, 0);
        auto* list = reinterpret_cast<VstEvents*>(header.data());
        list->numEvents = static_cast<VstInt32>(events.size());
        // The pointer array runs past the two slots the header declares.
        VstEvent** pointers = list->events;
        for (std::size_t i = 0; i < events.size(); ++i) pointers[i] = &events[i];
        host.dispatch(effProcessEvents, 0, 0, list);
        host.render(input.range(1, blockFrames));
    }
    host.render(blockFrames);
    return 0;
}
