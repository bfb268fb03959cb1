// The chunk loader: any bytes, of any length, as a bank or a program chunk,
// then the state is read back and played.
#include "fuzz/FuzzHost.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    FuzzHost host;
    host.start(44100.0f, 256);
    const uint8_t flags = input.byte();
    const bool programOnly = (flags & 1) != 0;
    // Most inputs are loaded at their own length; some claim another one.
    std::vector<uint8_t> chunk = input.bytes(input.remaining());
    VstIntPtr claimed = static_cast<VstIntPtr>(chunk.size());
    if (flags & 2) claimed = (flags & 4) ? 48 : 608;
    if (claimed > static_cast<VstIntPtr>(chunk.size())) chunk.resize(static_cast<std::size_t>(claimed), 0);
    host.dispatch(effSetChunk, programOnly ? 1 : 0, claimed, chunk.data());
    host.checkParameters();

    // What the plug-in gives back must be readable to its last byte.
    for (VstInt32 program : {0, 1}) {
        void* saved = nullptr;
        const VstIntPtr savedSize = host.dispatch(effGetChunk, program, 0, &saved);
        volatile uint8_t sum = 0;
        for (VstIntPtr i = 0; i < savedSize; ++i) sum = static_cast<uint8_t>(sum + static_cast<const uint8_t*>(saved)[i]);
    }
    VstMidiEvent note{};
    note.type = kVstMidiType;
    note.byteSize = sizeof note;
    note.midiData[0] = static_cast<char>(0x90);
    note.midiData[1] = 60;
    note.midiData[2] = 100;
    VstIntPtr header[4] = {};
    auto* list = reinterpret_cast<VstEvents*>(header);
    list->numEvents = 1;
    list->events[0] = reinterpret_cast<VstEvent*>(&note);
    host.dispatch(effProcessEvents, 0, 0, list);
    for (int block = 0; block < 8; ++block) host.render(256);
    return 0;
}
