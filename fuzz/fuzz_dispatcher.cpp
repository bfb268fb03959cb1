// The dispatcher and the other record entries, called in any order with
// arguments a host may pass: buffers large enough for every text, real
// records where a record is read, sample rates and block sizes hosts use,
// any parameter index and value.
#include <array>
#include <string>

#include "fuzz/FuzzHost.h"
#include "fuzz/FuzzInput.h"

namespace {

constexpr int kOperations = 24;

// Plain memory standing in for the host's window, for editors that draw into memory.
struct ParentWindow {
    unsigned char memory[4096] = {};
};

void textOpcode(FuzzHost& host, FuzzInput& input, VstInt32 opcode) {
    std::array<char, 256> text{};
    host.dispatch(opcode, input.range(-2, 16), input.range(-2, 16), text.data());
}

void setProgramName(FuzzHost& host, FuzzInput& input) {
    std::vector<uint8_t> name = input.bytes(input.range(0, 64));
    name.push_back(0);
    host.dispatch(effSetProgramName, 0, 0, name.data());
}

void canDo(FuzzHost& host, FuzzInput& input) {
    static const char* const kTexts[] = {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo",
                                         "sendVstEvents", "", "bypass", "receiveVstEventsX"};
    std::string text = kTexts[input.range(0, 6)];
    host.dispatch(effCanDo, 0, 0, text.data());
}

void events(FuzzHost& host, FuzzInput& input, VstInt32 blockSize) {
    std::vector<VstMidiEvent> midi(static_cast<std::size_t>(input.range(0, 80)));
    std::vector<VstIntPtr> header(2 + midi.size() + 2, 0);
    auto* list = reinterpret_cast<VstEvents*>(header.data());
    list->numEvents = static_cast<VstInt32>(midi.size());
    // The pointer array runs past the two slots the header declares.
    VstEvent** pointers = list->events;
    for (std::size_t i = 0; i < midi.size(); ++i) {
        midi[i].type = kVstMidiType;
        midi[i].byteSize = sizeof(VstMidiEvent);
        midi[i].deltaFrames = input.range(0, blockSize - 1);
        for (int b = 0; b < 3; ++b) midi[i].midiData[b] = static_cast<char>(input.byte());
        pointers[i] = reinterpret_cast<VstEvent*>(&midi[i]);
    }
    host.dispatch(effProcessEvents, 0, 0, list);
}

void chunk(FuzzHost& host, FuzzInput& input) {
    const VstInt32 programOnly = input.byte() & 1;
    if (input.byte() & 1) {
        void* data = nullptr;
        host.dispatch(effGetChunk, programOnly, 0, &data);
        return;
    }
    const std::size_t sizes[] = {48, 608, 0, 47, 49, 607, 609};
    std::vector<uint8_t> bytes = input.bytes(sizes[input.range(0, 6)]);
    host.dispatch(effSetChunk, programOnly, static_cast<VstIntPtr>(bytes.size()), bytes.data());
}

void editor(FuzzHost& host, FuzzInput& input, ParentWindow& parent) {
    switch (input.range(0, 5)) {
        case 0: {
            ERect* rect = nullptr;
            host.dispatch(effEditGetRect, 0, 0, &rect);
            break;
        }
        case 1:
            host.dispatch(effEditOpen, 0, 0, &parent);
            break;
        case 2:
            host.dispatch(effEditClose);
            break;
        case 3:
            host.dispatch(effEditIdle);
            break;
        case 4:
            host.dispatch(input.byte() & 1 ? effEditKeyDown : effEditKeyUp, input.range(-1, 300), input.range(0, 511),
                          nullptr, input.between(-300.0f, 300.0f));
            break;
        default:
            host.dispatch(effSetEditKnobMode, 0, input.range(0, 2));
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    FuzzHost host;
    ParentWindow parent;
    VstInt32 blockSize = 512;
    host.start(44100.0f, blockSize);
    AEffect& record = host.record();
    while (!input.empty()) {
        switch (input.range(0, kOperations - 1)) {
            case 0:
                record.setParameter(&record, input.range(-2, record.numParams + 1), input.anyFloat());
                break;
            case 1:
                record.getParameter(&record, input.range(-2, record.numParams + 1));
                break;
            case 2:
                host.dispatch(effSetProgram, 0, input.range(-2, record.numPrograms + 1));
                break;
            case 3:
                host.dispatch(effGetProgram);
                break;
            case 4:
                setProgramName(host, input);
                break;
            case 5:
                textOpcode(host, input, effGetProgramName);
                break;
            case 6:
                textOpcode(host, input, effGetParamLabel);
                break;
            case 7:
                textOpcode(host, input, effGetParamDisplay);
                break;
            case 8:
                textOpcode(host, input, effGetParamName);
                break;
            case 9:
                textOpcode(host, input, effGetProgramNameIndexed);
                break;
            case 10:
                host.dispatch(effSetSampleRate, 0, 0, nullptr, input.between(8000.0f, 384000.0f));
                break;
            case 11:
                blockSize = input.range(1, 8192);
                host.dispatch(effSetBlockSize, 0, blockSize);
                break;
            case 12:
                host.dispatch(effMainsChanged, 0, input.range(0, 2));
                break;
            case 13:
            case 14:
            case 15:
                host.render(input.range(-4, 2 * blockSize));
                break;
            case 16:
            case 17:
                events(host, input, blockSize);
                break;
            case 18:
                chunk(host, input);
                break;
            case 19:
                canDo(host, input);
                break;
            case 20:
                editor(host, input, parent);
                break;
            case 21:
                textOpcode(host, input, input.byte() & 1 ? effGetEffectName : effGetVendorString);
                break;
            case 22: {
                // The remaining opcodes with a zeroed record wherever a pointer is read.
                std::array<unsigned char, 1024> scratch{};
                const VstInt32 opcode = input.range(25, 79);
                if (opcode != effProcessEvents && opcode != effSetSpeakerArrangement &&
                    opcode != effGetSpeakerArrangement && opcode != effOfflineNotify && opcode != effOfflinePrepare &&
                    opcode != effOfflineRun && opcode != effProcessVarIo && opcode != effEditKeyDown &&
                    opcode != effEditKeyUp) {
                    host.dispatch(opcode, input.range(-2, 16), input.range(-2, 16), scratch.data(),
                                  input.between(-1.0f, 1.0f));
                }
                break;
            }
            default:
                host.checkParameters();
                break;
        }
    }
    host.dispatch(effEditClose);
    host.render(blockSize);
    host.checkParameters();
    return 0;
}
