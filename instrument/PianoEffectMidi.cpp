// MIDI intake: note-ons, note-offs, the two silencing controllers and pitch
// bend become engine requests at the event's frame offset. All sixteen
// channels play the same instrument.
#include "instrument/NoteFrequencyTable.h"
#include "instrument/PianoEffect.h"

namespace {

constexpr int32_t kLowestPlayableNote = 12;  // the table is read one octave below the played note
constexpr float kVelocityScale = 0.007874016f;  // 1/127
constexpr float kBendScale = 6.1035156e-05f;    // 2^-14

}  // namespace

VstInt32 PianoEffect::processEvents(VstEvents* events) {
    VstEvent** list = events->events;
    for (VstInt32 i = 0; i < events->numEvents; ++i) {
        const VstEvent* event = list[i];
        if (event && event->type == kVstMidiType) {
            handleMidiEvent(*reinterpret_cast<const VstMidiEvent*>(event));
        }
    }
    return 1;
}

void PianoEffect::handleMidiEvent(const VstMidiEvent& event) {
    const auto status = static_cast<unsigned char>(event.midiData[0]);
    const auto data1 = static_cast<unsigned char>(event.midiData[1] & 0x7F);
    const auto data2 = static_cast<unsigned char>(event.midiData[2] & 0x7F);
    switch (status & 0xF0) {
        case 0x80:
        case 0x90: {
            // Notes 0 to 11 have no frequency one octave down; both their
            // note-on and their note-off are ignored, so they stay matched.
            if (data1 < kLowestPlayableNote) {
                return;
            }
            const int32_t note = data1 - kLowestPlayableNote;
            if ((status & 0xF0) == 0x80 || data2 == 0) {
                engine->noteOff(note, event.deltaFrames);
            } else {
                engine->noteOn(note, noteFrequency(note), static_cast<float>(data2) * kVelocityScale,
                               event.deltaFrames);
            }
            return;
        }
        case 0xB0:
            // All notes off and mono mode silence at once, not at the offset.
            if (event.midiData[1] == 123 || event.midiData[1] == 126) {
                engine->silenceAllVoices();
            }
            return;
        case 0xE0: {
            // Data bytes above 127 are not MIDI; only their low seven bits count.
            const int32_t value = data2 * 128 + data1;
            const float bend = static_cast<float>(value) * kBendScale * 2.0f - 1.0f;
            engine->pitchBend(bend, event.deltaFrames);
            return;
        }
        default:
            return;
    }
}
