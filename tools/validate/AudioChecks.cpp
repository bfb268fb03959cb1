// Audio hygiene: whatever the host's buffers held, the outputs come back
// written, finite, free of denormals, and silent when nothing plays.
#include "tools/validate/CheckSupport.h"

namespace validate {

namespace {

constexpr VstInt32 kBlock = 512;
constexpr int64_t kQuietFrames = 44100;          // one second of digital silence
constexpr int64_t kTailLimitFrames = 44100 * 60;  // a minute is longer than any tail

Verdict silenceWhenNothingPlays(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    AudioReport report;
    for (int block = 0; block < 86; ++block) report += instance->render(kBlock);
    addAudioProblems(findings, report, "without notes");
    findings.expect(report.nonSilentFrames == 0,
                    std::to_string(report.nonSilentFrames) + " frames not exactly zero before any note");
    return findings.verdict("one second of exact silence before any note, over noise-filled outputs");
}

Verdict garbageInOutputs(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    AudioReport report;
    for (int block = 0; block < 64; ++block) {
        vsthost::EventList events;
        if (block == 0) events = phraseStart(kBlock);
        if (block == 40) events = phraseEnd(kBlock);
        instance->send(events);
        // NaN, infinities, denormals and huge values in the buffers beforehand.
        report += instance->render(kBlock, Prefill::Garbage);
    }
    addAudioProblems(findings, report, "outputs prefilled with NaN, infinities and denormals");
    return findings.verdict("nothing of NaN-, infinity- and denormal-filled outputs came back");
}

Verdict everyProgramFinite(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    const VstInt32 programs = std::max(instance->record().numPrograms, 1);
    for (VstInt32 program = 0; program < programs; ++program) {
        instance->dispatch(effSetProgram, 0, program);
        const std::string name = "program " + std::to_string(program);
        AudioReport report = instance->play(phraseStart(kBlock), 44100, kBlock);
        report += instance->play(phraseEnd(kBlock), 22050, kBlock);
        addAudioProblems(findings, report, name);
        if (context.shape().isSynth()) findings.expect(report.nonSilentFrames > 0, name + ": notes stayed silent");
    }
    return findings.verdict(std::to_string(programs) + " programs played: every sample finite and normal");
}

// Plays, releases everything, and waits for the tails to finish.
void expectSilenceAfterTails(Instance& instance, Findings& findings, const std::string& name) {
    AudioReport report = instance.play(phraseStart(kBlock), 22050, kBlock);
    report += instance.play(phraseEnd(kBlock), kBlock, kBlock);
    const int64_t rendered = renderUntilSilent(instance, kBlock, kQuietFrames, kTailLimitFrames, report);
    addAudioProblems(findings, report, name);
    findings.expect(rendered >= 0, name + ": still not silent a minute after every note ended");
}

Verdict silenceAfterTails(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    const VstInt32 programs = std::max(instance->record().numPrograms, 1);
    for (VstInt32 program = 0; program < programs; ++program) {
        instance->dispatch(effSetProgram, 0, program);
        expectSilenceAfterTails(*instance, findings, "program " + std::to_string(program));
    }
    // The longest and the shortest settings of everything.
    for (float extreme : {1.0f, 0.0f}) {
        for (VstInt32 i = 0; i < instance->record().numParams; ++i) instance->plugin().setParameter(i, extreme);
        expectSilenceAfterTails(*instance, findings, "every parameter at " + describeFloat(extreme));
    }
    return findings.verdict("exact silence again after the notes and tails of " + std::to_string(programs) +
                            " programs and both parameter extremes");
}

}  // namespace

void addAudioChecks(std::vector<Check>& checks) {
    checks.push_back({"audio.silence-before-any-note", silenceWhenNothingPlays});
    checks.push_back({"audio.garbage-in-outputs", garbageInOutputs});
    checks.push_back({"audio.every-program-finite", everyProgramFinite});
    checks.push_back({"audio.silence-after-tails", silenceAfterTails});
}

}  // namespace validate
