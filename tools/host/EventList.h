// An event list for effProcessEvents, built the way hosts build theirs: one
// VstEvents header followed by as many event pointers as there are events.
#pragma once

#include <cstdint>
#include <vector>

#include "host/VstAbi.h"

namespace vsthost {

class EventList {
public:
    // A MIDI message of up to three bytes at a frame offset within the next block.
    void addMidi(VstInt32 deltaFrames, uint8_t status, uint8_t data1 = 0, uint8_t data2 = 0);
    // A system-exclusive message; the bytes are kept alive by the list.
    void addSysex(VstInt32 deltaFrames, std::vector<uint8_t> bytes);
    // Any event record, passed as it is (for events of other types).
    void addRaw(const VstEvent& event);

    void clear();
    std::size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }

    // The list as the plug-in receives it; valid until the list changes.
    VstEvents* events();

private:
    // Every record is stored in a slot large enough for any event type.
    union Record {
        VstEvent generic;
        VstMidiEvent midi;
        VstMidiSysexEvent sysex;
    };
    std::vector<Record> records_;
    std::vector<std::vector<uint8_t>> sysexData_;  // in the order of the sysex records
    std::vector<VstIntPtr> header_;  // word-aligned storage for the VstEvents header
};

}  // namespace vsthost
