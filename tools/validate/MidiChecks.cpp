// MIDI: random bytes, data without a status byte, every note at every
// velocity, crowded blocks, offsets outside the block, events that are not
// MIDI, the channel-mode controllers.
#include <algorithm>
#include <climits>
#include <cstring>

#include "tools/validate/CheckSupport.h"

namespace validate {

namespace {

constexpr VstInt32 kBlock = 64;
constexpr uint8_t kNoteOff = 0x80;
constexpr uint8_t kNoteOn = 0x90;
constexpr uint8_t kControlChange = 0xB0;
constexpr uint8_t kPitchBend = 0xE0;
constexpr uint8_t kAllNotesOff = 123;

// A note that the plug-in must answer with sound after whatever came before.
void expectStillPlays(Context& context, Instance& instance, Findings& findings, const std::string& after) {
    if (!context.shape().isSynth()) return;
    const AudioReport report = instance.play(notes({60, 64, 67}, 110), 8192, kBlock);
    addAudioProblems(findings, report, "a chord " + after);
    findings.expect(report.nonSilentFrames > 0, "a chord " + after + " stayed silent");
}

Verdict byteSoup(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings, 44100.0f, kBlock);
    if (!instance) return findings.verdict("");
    AudioReport report;
    int events = 0;
    for (int block = 0; block < 400; ++block) {
        vsthost::EventList list;
        std::vector<VstInt32> offsets(static_cast<std::size_t>(context.pick(0, 40)));
        for (VstInt32& offset : offsets) offset = context.pick(0, kBlock - 1);
        std::sort(offsets.begin(), offsets.end());
        for (VstInt32 offset : offsets) {
            VstMidiEvent event{};
            event.type = kVstMidiType;
            event.byteSize = sizeof(VstMidiEvent);
            event.deltaFrames = offset;
            for (char& byte : event.midiData) byte = static_cast<char>(context.random()());
            event.detune = static_cast<char>(context.random()());
            event.noteOffVelocity = static_cast<char>(context.random()());
            event.noteLength = static_cast<VstInt32>(context.random()());
            VstEvent raw;
            std::memcpy(&raw, &event, sizeof raw);
            list.addRaw(raw);
            ++events;
        }
        instance->send(list);
        report += instance->render(kBlock);
    }
    addAudioProblems(findings, report, "random MIDI bytes");
    expectStillPlays(context, *instance, findings, "after random MIDI bytes");
    return findings.verdict(std::to_string(events) + " events of random bytes over 400 blocks");
}

Verdict dataWithoutStatus(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings, 44100.0f, kBlock);
    if (!instance) return findings.verdict("");
    AudioReport report;
    for (int block = 0; block < 200; ++block) {
        vsthost::EventList list;
        // What running status would make notes of, had a status byte come first.
        for (int i = 0; i < 8; ++i) {
            list.addMidi(i * 4, static_cast<uint8_t>(context.pick(0, 0x7F)), static_cast<uint8_t>(context.pick(0, 0x7F)),
                         static_cast<uint8_t>(context.pick(0, 0x7F)));
        }
        instance->send(list);
        report += instance->render(kBlock);
    }
    addAudioProblems(findings, report, "data bytes without status");
    findings.expect(report.nonSilentFrames == 0, "data bytes without a status byte made sound");
    expectStillPlays(context, *instance, findings, "after data bytes without status");
    return findings.verdict("1600 status-less messages ignored, silence kept");
}

Verdict everyNoteEveryVelocity(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings, 44100.0f, 32);
    if (!instance) return findings.verdict("");
    AudioReport report;
    int previous = -1;
    for (int note = 0; note < 128; ++note) {
        for (int velocity = 0; velocity < 128; ++velocity) {
            vsthost::EventList list;
            if (previous >= 0) list.addMidi(0, kNoteOff, static_cast<uint8_t>(previous), 64);
            list.addMidi(1, kNoteOn, static_cast<uint8_t>(note), static_cast<uint8_t>(velocity));
            previous = note;
            instance->send(list);
            report += instance->render(32);
        }
    }
    addAudioProblems(findings, report, "every note at every velocity");
    if (context.shape().isSynth()) findings.expect(report.nonSilentFrames > 0, "no note made a sound");
    return findings.verdict("notes 0 to 127 at velocities 0 to 127, 16384 note-ons");
}

Verdict crowdedBlocks(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings, 44100.0f, 512);
    if (!instance) return findings.verdict("");
    for (int count : {65, 100, 200, 500}) {
        vsthost::EventList list;
        for (int i = 0; i < count; ++i) {
            list.addMidi(i * 512 / count, kNoteOn, static_cast<uint8_t>(24 + i % 96), static_cast<uint8_t>(1 + i % 127));
        }
        addAudioProblems(findings, instance->play(std::move(list), 2048, 512),
                         std::to_string(count) + " note-ons in one block");
    }
    // Releases of notes that never sounded, more than a queue would hold.
    vsthost::EventList offs;
    for (int i = 0; i < 300; ++i) offs.addMidi(i % 512, kNoteOff, static_cast<uint8_t>(i % 128), 0);
    addAudioProblems(findings, instance->play(std::move(offs), 2048, 512), "300 note-offs for notes never played");
    expectStillPlays(context, *instance, findings, "after crowded blocks");
    return findings.verdict("blocks of 65, 100, 200 and 500 note-ons and 300 stray note-offs");
}

Verdict offsetsOutsideAndUnordered(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings, 44100.0f, kBlock);
    if (!instance) return findings.verdict("");
    const VstInt32 offsets[] = {kBlock, kBlock + 1, 1 << 20, INT_MAX, -1, -kBlock, INT_MIN};
    for (VstInt32 offset : offsets) {
        vsthost::EventList list;
        list.addMidi(offset, kNoteOn, 60, 100);
        list.addMidi(offset, kPitchBend, 0x7F, 0x7F);
        list.addMidi(offset, kNoteOn, 60, 0);
        addAudioProblems(findings, instance->play(std::move(list), 256, kBlock),
                         "offset " + std::to_string(offset));
    }
    // Backwards in time within one block.
    vsthost::EventList backwards;
    for (int i = 0; i < 32; ++i) {
        backwards.addMidi(kBlock - 1 - 2 * i, kNoteOn, static_cast<uint8_t>(40 + i), 100);
    }
    backwards.addMidi(kBlock - 1, kPitchBend, 0, 0);
    backwards.addMidi(0, kPitchBend, 0x7F, 0x7F);
    addAudioProblems(findings, instance->play(std::move(backwards), 4096, kBlock), "offsets out of order");
    expectStillPlays(context, *instance, findings, "after offsets outside the block");
    return findings.verdict("offsets past the block, negative, INT_MAX and INT_MIN, and out of order");
}

Verdict sysexAndOtherEvents(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings, 44100.0f, kBlock);
    if (!instance) return findings.verdict("");
    AudioReport report;
    for (int block = 0; block < 100; ++block) {
        vsthost::EventList list;
        list.addSysex(0, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7});  // general MIDI on
        list.addSysex(1, std::vector<uint8_t>(static_cast<std::size_t>(context.pick(0, 10000)), 0x55));
        list.addSysex(2, {});
        for (VstInt32 type : {0, 2, 3, 4, 5, 7, 99, -1}) {
            VstEvent event{};
            event.type = type;
            event.byteSize = static_cast<VstInt32>(context.random()());
            event.deltaFrames = context.pick(0, kBlock - 1);
            for (char& byte : event.data) byte = static_cast<char>(context.random()());
            list.addRaw(event);
        }
        if (block % 20 == 0) list.addMidi(3, kNoteOn, static_cast<uint8_t>(context.pick(40, 80)), 100);
        instance->send(list);
        report += instance->render(kBlock);
    }
    addAudioProblems(findings, report, "system-exclusive and non-MIDI events");
    if (context.shape().isSynth()) {
        findings.expect(report.nonSilentFrames > 0, "notes among other events stayed silent");
    }
    return findings.verdict("300 system-exclusive and 800 non-MIDI events skipped, notes among them played");
}

Verdict channelModeControllers(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings, 44100.0f, 512);
    if (!instance) return findings.verdict("");
    for (uint8_t controller = 120; controller <= 127; ++controller) {
        for (uint8_t value : {0, 64, 127}) {
            vsthost::EventList list = notes({48, 60, 72}, 100);
            list.addMidi(100, static_cast<uint8_t>(kControlChange | (controller % 16)), controller, value);
            addAudioProblems(findings, instance->play(std::move(list), 1024, 512),
                             "controller " + std::to_string(controller));
        }
    }
    // All notes off on every channel, and the tails die away.
    vsthost::EventList allOff;
    for (uint8_t channel = 0; channel < 16; ++channel) {
        allOff.addMidi(0, static_cast<uint8_t>(kControlChange | channel), kAllNotesOff, 0);
    }
    AudioReport report = instance->play(std::move(allOff), 512, 512);
    const int64_t rendered = renderUntilSilent(*instance, 512, 44100, 44100 * 60, report);
    addAudioProblems(findings, report, "after all notes off");
    findings.expect(rendered >= 0, "still sounding a minute after all notes off");
    expectStillPlays(context, *instance, findings, "after the controllers");
    return findings.verdict("controllers 120 to 127 with values 0, 64, 127; all notes off ends in silence");
}

Verdict pitchBendExtremes(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings, 44100.0f, kBlock);
    if (!instance) return findings.verdict("");
    instance->send(notes({21, 60, 108}, 127));
    AudioReport report;
    const uint8_t bytes[][2] = {{0, 0}, {0x7F, 0x7F}, {0, 0x40}, {0xFF, 0xFF}, {0x80, 0x80}, {0x7F, 0}};
    for (int block = 0; block < 300; ++block) {
        vsthost::EventList list;
        const auto& pair = bytes[block % std::size(bytes)];
        list.addMidi(context.pick(0, kBlock - 1), kPitchBend, pair[0], pair[1]);
        instance->send(list);
        report += instance->render(kBlock);
    }
    addAudioProblems(findings, report, "pitch bend extremes");
    return findings.verdict("pitch bend at both ends, centre, and with data bytes above 127");
}

}  // namespace

void addMidiChecks(std::vector<Check>& checks) {
    checks.push_back({"midi.byte-soup", byteSoup});
    checks.push_back({"midi.data-without-status", dataWithoutStatus});
    checks.push_back({"midi.every-note-every-velocity", everyNoteEveryVelocity});
    checks.push_back({"midi.crowded-blocks", crowdedBlocks});
    checks.push_back({"midi.offsets-outside-and-unordered", offsetsOutsideAndUnordered});
    checks.push_back({"midi.sysex-and-other-events", sysexAndOtherEvents});
    checks.push_back({"midi.channel-mode-controllers", channelModeControllers});
    checks.push_back({"midi.pitch-bend-extremes", pitchBendExtremes});
}

}  // namespace validate
