// Real-time safety: a busy session in which everything a host does between
// blocks happens, with the audio calls watched for allocations and locks.
#include "tools/validate/CheckSupport.h"
#include "tools/validate/RealtimeWatch.h"

namespace validate {

namespace {

constexpr VstInt32 kBlock = 128;

std::string describe(const RealtimeTally& tally) {
    return std::to_string(tally.allocations) + " allocations, " + std::to_string(tally.releases) + " releases and " +
           std::to_string(tally.locks) + " locks in " + std::to_string(tally.audioCalls) + " audio calls";
}

Verdict busySession(Context& context) {
    if (!realtimeWatchActive()) return Verdict::skip("this build cannot watch allocations and locks");
    Findings findings;
    auto instance = openStarted(context, findings, 44100.0f, kBlock);
    if (!instance) return findings.verdict("");
    const RealtimeTally before = realtimeTally();
    const VstInt32 params = instance->record().numParams;
    const VstInt32 programs = instance->record().numPrograms;
    AudioReport report;
    for (int block = 0; block < 1000; ++block) {
        vsthost::EventList events;
        for (int i = 0; i < context.pick(0, 12); ++i) {
            const uint8_t statuses[] = {0x90, 0x80, 0xE0, 0xB0, 0x90};
            events.addMidi(context.pick(0, kBlock - 1), statuses[context.pick(0, 4)],
                           static_cast<uint8_t>(context.pick(0, 127)), static_cast<uint8_t>(context.pick(0, 127)));
        }
        if (block % 50 == 0) events.addSysex(0, {0xF0, 0x01, 0x02, 0xF7});
        // Between blocks, from the host's side: automation, programs, chunks.
        if (params > 0) instance->plugin().setParameter(context.pick(0, params - 1), context.uniform(0.0f, 1.0f));
        if (programs > 0 && block % 97 == 0) instance->dispatch(effSetProgram, 0, context.pick(0, programs - 1));
        if (context.shape().programChunks() && block % 131 == 0) {
            loadChunk(*instance, saveChunk(*instance, block % 2 == 0), block % 2 == 0);
        }
        instance->send(events);
        report += instance->render(context.pick(1, kBlock));
    }
    const RealtimeTally during = realtimeTally() - before;
    findings.expect(during.violations() == 0, describe(during));
    addAudioProblems(findings, report, "busy session");
    return findings.verdict(describe(during) + " (" + realtimeWatchMethod() + ")");
}

}  // namespace

void addRealtimeChecks(std::vector<Check>& checks) { checks.push_back({"realtime.busy-session", busySession}); }

}  // namespace validate
