// Parameters: every index with every kind of value, indices that do not
// exist, automation at every block, and writes from a second thread while the
// audio thread renders.
#include <atomic>
#include <climits>
#include <cmath>
#include <limits>
#include <thread>

#include "tools/validate/CheckSupport.h"

namespace validate {

namespace {

constexpr VstInt32 kBlock = 64;
constexpr std::size_t kParameterTextBytes = kVstMaxParamStrLen + 1;

std::vector<float> valuesToTry(Context& context) {
    std::vector<float> values = {0.0f,
                                 1.0f,
                                 0.5f,
                                 -0.0f,
                                 std::numeric_limits<float>::quiet_NaN(),
                                 -std::numeric_limits<float>::quiet_NaN(),
                                 std::numeric_limits<float>::infinity(),
                                 -std::numeric_limits<float>::infinity(),
                                 -1.0f,
                                 2.0f,
                                 1.0e30f,
                                 -1.0e30f,
                                 std::numeric_limits<float>::denorm_min(),
                                 std::numeric_limits<float>::max()};
    for (int i = 0; i < 4; ++i) values.push_back(context.uniform(0.0f, 1.0f));
    return values;
}

Verdict everyIndexEveryValue(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    const std::vector<float> values = valuesToTry(context);
    instance->send(notes({48, 60, 67}, 100));
    for (VstInt32 index = 0; index < instance->record().numParams; ++index) {
        for (float value : values) {
            instance->plugin().setParameter(index, value);
            const float stored = instance->plugin().getParameter(index);
            const std::string name = "parameter " + std::to_string(index) + " set to " + describeFloat(value);
            findings.expect(stored >= 0.0f && stored <= 1.0f, name + " reads back as " + describeFloat(stored));
            if (value >= 0.0f && value <= 1.0f) {
                findings.expect(stored == value || std::fabs(stored - value) < 1.0e-6f,
                                name + " reads back as " + describeFloat(stored));
            }
            addAudioProblems(findings, instance->render(kBlock), name);
        }
    }
    return findings.verdict(std::to_string(instance->record().numParams) + " parameters x " +
                            std::to_string(values.size()) +
                            " values (NaN, infinities, out of range): every read-back finite and within 0..1");
}

Verdict indicesOutOfRange(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    const VstInt32 count = instance->record().numParams;
    const VstInt32 indices[] = {-1, count, count + 1, 1000, INT_MIN, INT_MAX};
    const std::vector<float> before = parameterValues(*instance);
    for (VstInt32 index : indices) {
        const std::string name = "index " + std::to_string(index);
        instance->plugin().setParameter(index, 0.75f);
        const float read = instance->plugin().getParameter(index);
        findings.expect(std::isfinite(read), name + " reads as " + describeFloat(read));
        for (VstInt32 opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
            const TextAnswer text = askText(*instance, opcode, index);
            findings.expect(text.touched <= kParameterTextBytes,
                            name + ": opcode " + std::to_string(opcode) + " wrote " + std::to_string(text.touched) +
                                " bytes into a text of " + std::to_string(kParameterTextBytes));
        }
        instance->dispatch(effCanBeAutomated, index);
    }
    findings.expect(parameterValues(*instance) == before, "a write to a missing index changed a parameter");
    addAudioProblems(findings, instance->play(phraseStart(kBlock), 4096, kBlock), "after the writes");
    return findings.verdict("writes to indices -1, " + std::to_string(count) +
                            ", INT_MIN, INT_MAX... changed nothing and texts stayed in their buffers");
}

Verdict parameterTexts(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    for (VstInt32 index = 0; index < instance->record().numParams; ++index) {
        for (VstInt32 opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
            const TextAnswer text = askText(*instance, opcode, index);
            findings.expect(text.touched <= kParameterTextBytes && text.length < kParameterTextBytes,
                            "parameter " + std::to_string(index) + ", opcode " + std::to_string(opcode) + ": \"" +
                                text.text + "\" takes " + std::to_string(text.touched) + " bytes, more than " +
                                std::to_string(kParameterTextBytes));
        }
    }
    return findings.verdict("names, labels and displays of every parameter fit in " +
                            std::to_string(kParameterTextBytes) + " bytes with their zero");
}

Verdict automationEveryBlock(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings, 44100.0f, kBlock);
    if (!instance) return findings.verdict("");
    const VstInt32 count = instance->record().numParams;
    AudioReport report;
    for (int block = 0; block < 600; ++block) {
        vsthost::EventList events;
        if (block % 100 == 0) events = phraseStart(kBlock);
        if (block % 100 == 70) events = phraseEnd(kBlock);
        // Slow sweeps of every parameter, and now and then a jump.
        for (VstInt32 i = 0; i < count; ++i) {
            const float sweep = 0.5f + 0.5f * std::sin(0.02f * static_cast<float>(block * (i + 1)));
            instance->plugin().setParameter(i, block % 50 == 0 ? context.uniform(0.0f, 1.0f) : sweep);
        }
        instance->send(events);
        report += instance->render(kBlock);
    }
    addAudioProblems(findings, report, "automation at every block");
    return findings.verdict("every parameter moved before each of 600 blocks");
}

Verdict writesFromSecondThread(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings, 44100.0f, 256);
    if (!instance) return findings.verdict("");
    const VstInt32 count = instance->record().numParams;
    std::atomic<bool> stop{false};
    std::atomic<long> writes{0};
    const uint32_t seed = context.nextSeed();
    // The user-interface thread: automation, reads, the odd NaN and missing index.
    std::thread writer([&instance, &stop, &writes, count, seed] {
        std::mt19937 random(seed);
        std::uniform_real_distribution<float> value(0.0f, 1.0f);
        while (!stop.load(std::memory_order_relaxed)) {
            const VstInt32 index = static_cast<VstInt32>(random() % static_cast<uint32_t>(count + 1));
            const float written = random() % 64 == 0 ? std::numeric_limits<float>::quiet_NaN() : value(random);
            instance->plugin().setParameter(index, written);
            instance->plugin().getParameter(index);
            writes.fetch_add(1, std::memory_order_relaxed);
        }
    });
    AudioReport report;
    for (int block = 0; block < 400; ++block) {
        vsthost::EventList events;
        if (block % 40 == 0) events = phraseStart(256);
        if (block % 40 == 30) events = phraseEnd(256);
        instance->send(events);
        report += instance->render(256);
    }
    stop.store(true, std::memory_order_relaxed);
    writer.join();
    addAudioProblems(findings, report, "parameters written from a second thread");
    return findings.verdict(std::to_string(writes.load()) + " writes from a second thread during 400 blocks");
}

}  // namespace

void addParameterChecks(std::vector<Check>& checks) {
    checks.push_back({"parameters.every-index-every-value", everyIndexEveryValue});
    checks.push_back({"parameters.indices-out-of-range", indicesOutOfRange});
    checks.push_back({"parameters.texts-fit", parameterTexts});
    checks.push_back({"parameters.automation-every-block", automationEveryBlock});
    checks.push_back({"parameters.second-thread", writesFromSecondThread});
}

}  // namespace validate
