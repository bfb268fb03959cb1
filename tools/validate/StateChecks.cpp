// State: chunks that round-trip byte for byte and sound for sound, chunks of
// every size and content, and a null data pointer.
#include <cmath>
#include <cstring>
#include <limits>

#include "tools/validate/CheckSupport.h"

namespace validate {

namespace {

constexpr VstInt32 kBlock = 256;
constexpr VstInt32 kLargestTriedChunk = 4096;

Verdict noChunks() { return Verdict::skip("the plug-in does not exchange its state as chunks"); }

// The same phrase every time, so that two instances in the same state must
// produce the same samples.
std::vector<std::vector<float>> renderReference(Instance& instance) {
    instance.capture(true);
    instance.play(phraseStart(kBlock), 8192, kBlock);
    instance.play(phraseEnd(kBlock), 8192, kBlock);
    instance.capture(false);
    return instance.captured();
}

// Moves everything a host can move: programs, every parameter, a name.
void changeEverything(Context& context, Instance& instance) {
    const AEffect& record = instance.record();
    for (int round = 0; round < 3; ++round) {
        if (record.numPrograms > 0) instance.dispatch(effSetProgram, 0, context.pick(0, record.numPrograms - 1));
        for (VstInt32 i = 0; i < record.numParams; ++i) instance.plugin().setParameter(i, context.uniform(0.0f, 1.0f));
    }
    char name[] = "changed by the validator";
    instance.dispatch(effSetProgramName, 0, 0, name);
}

// Saves a state from one instance and restores it into others: the chunk
// comes back byte for byte and two restored instances sound the same to the
// last bit, whatever state they were in before.
Verdict roundTrip(Context& context, bool programOnly) {
    Findings findings;
    auto source = openStarted(context, findings);
    if (!source) return findings.verdict("");
    changeEverything(context, *source);
    source->play(phraseStart(kBlock), 4096, kBlock);
    const VstIntPtr program = source->dispatch(effGetProgram);
    const std::vector<uint8_t> saved = saveChunk(*source, programOnly);
    if (!findings.expect(!saved.empty(), "effGetChunk gave no chunk")) return findings.verdict("");

    auto restore = [&](Instance& target) {
        if (!programOnly) target.dispatch(effSetProgram, 0, program);
        return loadChunk(target, saved, programOnly);
    };
    auto fresh = openStarted(context, findings);
    auto changed = openStarted(context, findings);
    if (!fresh || !changed) return findings.verdict("");
    changeEverything(context, *changed);
    restore(*fresh);
    const VstIntPtr accepted = restore(*changed);
    findings.expect(accepted != 0, "the plug-in refused its own chunk of " + std::to_string(saved.size()) + " bytes");
    findings.expect(saveChunk(*changed, programOnly) == saved, "the restored chunk differs from the saved one");
    findings.expect(parameterValues(*changed) == parameterValues(*fresh),
                    "two instances restored from one chunk read different parameter values");
    const auto freshSound = renderReference(*fresh);
    const auto changedSound = renderReference(*changed);
    findings.expect(freshSound == changedSound, "two instances restored from one chunk sound different");
    addAudioProblems(findings, fresh->totals(), "restored instance");
    findings.expect(saveChunk(*fresh, programOnly) == saved, "playing the restored state changed its chunk");

    // Back on the instance it came from, after everything moved again.
    changeEverything(context, *source);
    restore(*source);
    findings.expect(saveChunk(*source, programOnly) == saved, "restoring into the saving instance changed the chunk");
    return findings.verdict(std::to_string(saved.size()) +
                            "-byte chunk restored into three instances: byte-identical, sound-identical");
}

Verdict bankRoundTrip(Context& context) {
    return context.shape().programChunks() ? roundTrip(context, false) : noChunks();
}

Verdict programRoundTrip(Context& context) {
    return context.shape().programChunks() ? roundTrip(context, true) : noChunks();
}

std::vector<uint8_t> randomBytes(Context& context, std::size_t size) {
    std::vector<uint8_t> bytes(size);
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(context.random()());
    return bytes;
}

// After a chunk, whatever it held: parameters readable and playable, and a
// refused chunk leaves the state as it was.
void expectSaneAfterChunk(Instance& instance, Findings& findings, VstIntPtr answer,
                          const std::vector<uint8_t>& bankBefore, const std::string& name) {
    findings.expect(parametersPlayable(parameterValues(instance)),
                    name + ": a parameter reads outside 0..1 or as NaN afterwards");
    if (answer == 0) {
        findings.expect(saveChunk(instance, false) == bankBefore, name + " was refused but changed the state");
    }
}

Verdict everySize(Context& context) {
    if (!context.shape().programChunks()) return noChunks();
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    int accepted = 0;
    instance->send(notes({60, 67}, 100));
    for (VstInt32 size = 0; size <= kLargestTriedChunk; ++size) {
        for (bool programOnly : {false, true}) {
            const std::vector<uint8_t> before = saveChunk(*instance, false);
            const VstIntPtr answer = loadChunk(*instance, randomBytes(context, static_cast<std::size_t>(size)),
                                               programOnly);
            accepted += answer != 0 ? 1 : 0;
            const std::string name = std::string(programOnly ? "program" : "bank") + " chunk of " +
                                     std::to_string(size) + " random bytes";
            expectSaneAfterChunk(*instance, findings, answer, before, name);
            if (size % 64 == 0 || answer != 0) {
                if (size % 512 == 0) instance->send(notes({context.pick(40, 80)}, 100));
                addAudioProblems(findings, instance->render(kBlock), name);
            }
        }
    }
    return findings.verdict(std::to_string(2 * (kLargestTriedChunk + 1)) + " chunks of 0 to " +
                            std::to_string(kLargestTriedChunk) + " random bytes, " + std::to_string(accepted) +
                            " accepted; parameters playable and output clean after each");
}

// Chunks of exactly the plug-in's own sizes whose values are NaN, infinite,
// negative, huge or random bytes.
Verdict hostileValues(Context& context) {
    if (!context.shape().programChunks()) return noChunks();
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    const float hostile[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity(), -1.0f, 1.0e30f, 2.0f,
                             std::numeric_limits<float>::denorm_min()};
    int tried = 0;
    for (bool programOnly : {false, true}) {
        const std::size_t size = saveChunk(*instance, programOnly).size();
        for (int pattern = 0; pattern <= static_cast<int>(std::size(hostile)); ++pattern) {
            std::vector<uint8_t> bytes = randomBytes(context, size);
            if (pattern < static_cast<int>(std::size(hostile))) {
                for (std::size_t at = 0; at + sizeof(float) <= size; at += sizeof(float)) {
                    std::memcpy(bytes.data() + at, &hostile[pattern], sizeof(float));
                }
            }
            const std::vector<uint8_t> before = saveChunk(*instance, false);
            const std::string name = std::string(programOnly ? "program" : "bank") + " chunk of " +
                                     (pattern < static_cast<int>(std::size(hostile))
                                          ? describeFloat(hostile[pattern]) + " values"
                                          : std::string("random bytes"));
            const VstIntPtr answer = loadChunk(*instance, bytes, programOnly);
            expectSaneAfterChunk(*instance, findings, answer, before, name);
            addAudioProblems(findings, instance->play(phraseStart(kBlock), 8192, kBlock), name);
            ++tried;
        }
    }
    return findings.verdict(std::to_string(tried) +
                            " full-size chunks of NaN, infinities, huge and random values: output stayed clean");
}

Verdict nullData(Context& context) {
    if (!context.shape().programChunks()) return noChunks();
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    const std::vector<uint8_t> before = saveChunk(*instance, false);
    const VstIntPtr sizes[] = {0, 1, 48, 608, 4096, static_cast<VstIntPtr>(before.size()),
                               static_cast<VstIntPtr>(saveChunk(*instance, true).size())};
    for (VstIntPtr size : sizes) {
        for (VstInt32 programOnly : {0, 1}) {
            const VstIntPtr answer = instance->dispatch(effSetChunk, programOnly, size, nullptr);
            findings.expect(answer == 0, "a null chunk of " + std::to_string(size) + " bytes was accepted");
        }
    }
    findings.expect(saveChunk(*instance, false) == before, "a null chunk changed the state");
    addAudioProblems(findings, instance->play(phraseStart(kBlock), 4096, kBlock), "after null chunks");
    return findings.verdict("null chunk pointers of every size refused, state unchanged");
}

}  // namespace

void addStateChecks(std::vector<Check>& checks) {
    checks.push_back({"state.bank-round-trip", bankRoundTrip});
    checks.push_back({"state.program-round-trip", programRoundTrip});
    checks.push_back({"state.every-chunk-size", everySize});
    checks.push_back({"state.hostile-values", hostileValues});
    checks.push_back({"state.null-data", nullData});
}

}  // namespace validate
