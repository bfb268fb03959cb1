#include "tools/host/EventList.h"

#include <cstring>

namespace vsthost {

void EventList::addMidi(VstInt32 deltaFrames, uint8_t status, uint8_t data1, uint8_t data2) {
    Record record;
    std::memset(&record, 0, sizeof record);
    record.midi.type = kVstMidiType;
    record.midi.byteSize = sizeof(VstMidiEvent);
    record.midi.deltaFrames = deltaFrames;
    record.midi.midiData[0] = static_cast<char>(status);
    record.midi.midiData[1] = static_cast<char>(data1);
    record.midi.midiData[2] = static_cast<char>(data2);
    records_.push_back(record);
}

void EventList::addSysex(VstInt32 deltaFrames, std::vector<uint8_t> bytes) {
    sysexData_.push_back(std::move(bytes));
    Record record;
    std::memset(&record, 0, sizeof record);
    record.sysex.type = kVstSysExType;
    record.sysex.byteSize = sizeof(VstMidiSysexEvent);
    record.sysex.deltaFrames = deltaFrames;
    record.sysex.dumpBytes = static_cast<VstInt32>(sysexData_.back().size());
    records_.push_back(record);
}

void EventList::addRaw(const VstEvent& event) {
    Record record;
    std::memset(&record, 0, sizeof record);
    record.generic = event;
    records_.push_back(record);
}

void EventList::clear() {
    records_.clear();
    sysexData_.clear();
}

VstEvents* EventList::events() {
    // The header declares two pointer slots; hosts allocate room for all events.
    const std::size_t slots = records_.size() < 2 ? 2 : records_.size();
    const std::size_t bytes = offsetof(VstEvents, events) + slots * sizeof(VstEvent*);
    header_.assign((bytes + sizeof(VstIntPtr) - 1) / sizeof(VstIntPtr), 0);
    auto* list = reinterpret_cast<VstEvents*>(header_.data());
    list->numEvents = static_cast<VstInt32>(records_.size());
    VstEvent** pointers = list->events;
    std::size_t sysexIndex = 0;
    for (std::size_t i = 0; i < records_.size(); ++i) {
        Record& record = records_[i];
        // Point each sysex record at its bytes here, so copies of a list stay valid.
        if (record.generic.type == kVstSysExType && record.sysex.byteSize == sizeof(VstMidiSysexEvent) &&
            sysexIndex < sysexData_.size()) {
            record.sysex.sysexDump = reinterpret_cast<char*>(sysexData_[sysexIndex++].data());
        }
        pointers[i] = &record.generic;
    }
    return list;
}

}  // namespace vsthost
