// Host misbehaviour: calls out of order, blocks larger than announced, no
// callback, odd answers to the version probe, every opcode.
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

#include "tools/validate/CheckSupport.h"

namespace validate {

namespace {

constexpr VstInt32 kBlock = 512;

Verdict processWhileSuspended(Context& context) {
    Findings findings;
    auto instance = context.open();
    if (!findings.expect(instance != nullptr, "no instance: " + context.lastError())) return findings.verdict("");
    // Never resumed.
    instance->dispatch(effOpen);
    instance->configure(44100.0f, kBlock);
    instance->send(notes({60}, 100));
    addAudioProblems(findings, instance->render(kBlock), "before any resume");
    addAudioProblems(findings, instance->render(4 * kBlock), "a long block before any resume");
    // Resumed, played, suspended.
    instance->resume();
    instance->play(phraseStart(kBlock), 4 * kBlock, kBlock);
    instance->suspend();
    instance->send(notes({64}, 100));
    addAudioProblems(findings, instance->render(kBlock), "after suspend");
    addAudioProblems(findings, instance->render(8192), "a long block after suspend");
    // And back to normal.
    instance->resume();
    addAudioProblems(findings, instance->play(phraseEnd(kBlock), 4 * kBlock, kBlock), "after resuming again");
    return findings.verdict("processReplacing before resume and after suspend wrote clean output");
}

Verdict blocksLargerThanAnnounced(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings, 44100.0f, 64);
    if (!instance) return findings.verdict("");
    instance->send(phraseStart(64));
    AudioReport report;
    for (VstInt32 frames : {65, 128, 1000, 8192, 64, 32768}) {
        const AudioReport block = instance->render(frames);
        addAudioProblems(findings, block, std::to_string(frames) + " frames after announcing 64");
        report += block;
    }
    if (context.shape().isSynth()) {
        findings.expect(report.nonSilentFrames > 0, "notes stayed silent in the oversized blocks");
    }
    return findings.verdict("blocks of up to 32768 frames after announcing 64 were written in full");
}

Verdict zeroAndNegativeFrames(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    instance->send(phraseStart(kBlock));
    for (VstInt32 frames : {0, -1, -64, -kBlock, INT_MIN}) {
        findings.expect(instance->renderWritesNothing(frames),
                        "a call with " + std::to_string(frames) + " frames wrote into the outputs");
    }
    addAudioProblems(findings, instance->play(phraseEnd(kBlock), 4 * kBlock, kBlock), "afterwards");
    return findings.verdict("calls of 0, -1, -64, -512 and INT_MIN frames wrote nothing");
}

Verdict doubleResumeAndSuspend(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings, 44100.0f, 64);
    if (!instance) return findings.verdict("");
    instance->play(phraseStart(64), 1024, 64);
    // A second resume with a larger block size announced in between.
    instance->configure(44100.0f, 4096);
    instance->resume();
    addAudioProblems(findings, instance->play({}, 8192, 4096), "blocks of 4096 after a second resume");
    instance->suspend();
    instance->suspend();
    instance->configure(48000.0f, 256);
    instance->resume();
    instance->resume();
    addAudioProblems(findings, instance->play(phraseEnd(256), 4096, 256), "after double suspend and resume");
    return findings.verdict("double resume, double suspend, and block sizes changed in between");
}

Verdict eventsWithoutAudio(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings, 44100.0f, 256);
    if (!instance) return findings.verdict("");
    // Several lists for one block, as a host that skipped audio calls sends them.
    for (int list = 0; list < 20; ++list) {
        vsthost::EventList events;
        for (int i = 0; i < 64; ++i) {
            events.addMidi(i * 4, static_cast<uint8_t>(i % 2 ? 0x80 : 0x90), static_cast<uint8_t>(30 + i), 100);
        }
        instance->send(events);
    }
    addAudioProblems(findings, instance->render(256), "after 20 lists without audio");
    // Lists, then a suspend and a resume before any audio.
    instance->send(phraseStart(256));
    instance->suspend();
    instance->resume();
    addAudioProblems(findings, instance->play({}, 4096, 256), "after lists across a suspend");
    // Lists and then the instance closes.
    instance->send(phraseStart(256));
    instance->close();
    return findings.verdict("20 lists of 64 events without audio, then lists across suspend and close");
}

Verdict closeWhileResumed(Context& context) {
    Findings findings;
    for (int round = 0; round < 20; ++round) {
        auto instance = openStarted(context, findings, 44100.0f, 128 << (round % 5));
        if (!instance) break;
        instance->play(phraseStart(128), 2048, 128);
        // effClose with notes sounding and the instance still resumed.
        instance->close();
    }
    return findings.verdict("20 instances closed while resumed and sounding");
}

Verdict nullHostCallback(Context& context) {
    Findings findings;
    auto instance = context.openWith(nullptr);
    if (!instance) return Verdict::pass("refused to start without a host callback");
    instance->start();
    addAudioProblems(findings, instance->play(phraseStart(kBlock), 8192, kBlock), "without a callback");
    for (VstInt32 i = 0; i < instance->record().numParams; ++i) instance->plugin().setParameter(i, 0.5f);
    if (context.shape().programChunks()) {
        loadChunk(*instance, std::vector<uint8_t>(3, 0), false);  // refused chunks tell the host... which is absent
        loadChunk(*instance, saveChunk(*instance, false), false);
    }
    instance->suspend();
    instance->resume();
    addAudioProblems(findings, instance->play(phraseEnd(kBlock), 8192, kBlock), "without a callback, resumed again");
    return findings.verdict("an instance without a host callback played, took parameters and chunks");
}

Verdict versionProbeAnswers(Context& context) {
    Findings findings;
    std::string summary;
    for (VstIntPtr version : {VstIntPtr{0}, VstIntPtr{1}, VstIntPtr{2300}, VstIntPtr{2400}}) {
        context.host().setVersionAnswer(version);
        auto instance = context.open();
        const std::string name = "host version " + std::to_string(version);
        if (!instance) {
            // Only a host that answers 0 may be turned away.
            findings.expect(version == 0, name + ": no instance: " + context.lastError());
            summary += name + " refused; ";
            continue;
        }
        instance->start();
        addAudioProblems(findings, instance->play(phraseStart(kBlock), 4096, kBlock), name);
        summary += name + " played; ";
    }
    context.host().setVersionAnswer(2400);
    return findings.verdict(summary.substr(0, summary.size() - 2));
}

Verdict unusableSampleRates(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    const float rates[] = {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(),
                           std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()};
    for (float rate : rates) {
        instance->suspend();
        instance->configure(rate, kBlock);
        instance->resume();
        const std::string name = "sample rate " + describeFloat(rate);
        const AudioReport report = instance->play(phraseStart(kBlock), 4096, kBlock);
        addAudioProblems(findings, report, name);
        instance->play(phraseEnd(kBlock), kBlock, kBlock);
    }
    return findings.verdict("sample rates 0, negative, NaN and infinite gave clean output");
}

// Every opcode with harmless arguments: a zeroed buffer wherever a pointer
// may be read or written, value and index 0. Opcodes whose records carry
// pointers of their own (offline tasks, variable I/O) are left out: a zeroed
// record is not one a host would send.
Verdict everyOpcode(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    std::vector<unsigned char> scratch(1 << 16, 0);
    int called = 0;
    for (VstInt32 opcode = -1; opcode <= 100; ++opcode) {
        // These need arguments of their own and have checks of their own.
        if (opcode == effClose || opcode == effEditOpen || opcode == effEditClose || opcode == effProcessEvents ||
            opcode == effSetChunk || opcode == effMainsChanged || opcode == effSetSampleRate ||
            opcode == effSetBlockSize || opcode == effSetSpeakerArrangement || opcode == effGetSpeakerArrangement ||
            opcode == effSetBlockSizeAndSampleRate || opcode == effOfflineNotify || opcode == effOfflinePrepare ||
            opcode == effOfflineRun || opcode == effProcessVarIo) {
            continue;
        }
        std::fill(scratch.begin(), scratch.end(), 0);
        instance->dispatch(opcode, 0, 0, scratch.data(), 0.0f);
        ++called;
    }
    instance->dispatch(1000, 0, 0, scratch.data(), 0.0f);
    instance->dispatch(INT_MAX, 0, 0, scratch.data(), 0.0f);
    instance->dispatch(INT_MIN, 0, 0, scratch.data(), 0.0f);
    // The speaker arrangement opcodes pass arrangements by address in value and ptr.
    VstSpeakerArrangement input{};
    VstSpeakerArrangement output{};
    output.numChannels = 2;
    instance->dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output);
    VstSpeakerArrangement* inputOut = nullptr;
    VstSpeakerArrangement* outputOut = nullptr;
    instance->dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&inputOut), &outputOut);
    for (const char* capability : {"receiveVstEvents", "receiveVstMidiEvent", "sendVstEvents", "", "bypass"}) {
        std::vector<char> text(capability, capability + std::strlen(capability) + 1);
        const VstIntPtr answer = instance->dispatch(effCanDo, 0, 0, text.data());
        findings.expect(answer >= -1 && answer <= 1,
                        "effCanDo \"" + std::string(capability) + "\" answered " + std::to_string(answer));
    }
    addAudioProblems(findings, instance->play(phraseStart(kBlock), 8192, kBlock), "after every opcode");
    return findings.verdict(std::to_string(called + 5) + " opcodes from -1 to 100 and beyond, then clean output");
}

}  // namespace

void addHostMisbehaviourChecks(std::vector<Check>& checks) {
    checks.push_back({"host.process-while-suspended", processWhileSuspended});
    checks.push_back({"host.blocks-larger-than-announced", blocksLargerThanAnnounced});
    checks.push_back({"host.zero-and-negative-frames", zeroAndNegativeFrames});
    checks.push_back({"host.double-resume-and-suspend", doubleResumeAndSuspend});
    checks.push_back({"host.events-without-audio", eventsWithoutAudio});
    checks.push_back({"host.close-while-resumed", closeWhileResumed});
    checks.push_back({"host.null-callback", nullHostCallback});
    checks.push_back({"host.version-probe-answers", versionProbeAnswers});
    checks.push_back({"host.unusable-sample-rates", unusableSampleRates});
    checks.push_back({"host.every-opcode", everyOpcode});
}

}  // namespace validate
