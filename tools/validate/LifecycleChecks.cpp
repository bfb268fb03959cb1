// Lifecycle: instances created and destroyed in numbers, side by side, at
// every rate and block size hosts use.
#include <algorithm>
#include <numeric>

#include "tools/validate/CheckSupport.h"

namespace validate {

namespace {

constexpr int kOpenCloseRounds = 200;
constexpr int kSimultaneousInstances = 16;

Verdict openAndClose200(Context& context) {
    Findings findings;
    for (int round = 0; round < kOpenCloseRounds && !findings.any(); ++round) {
        auto instance = context.open();
        if (!findings.expect(instance != nullptr, "round " + std::to_string(round) + ": no instance: " +
                                                      context.lastError())) {
            break;
        }
        findings.expect(instance->record().magic == kEffectMagic, "a record without the magic number");
        // Every tenth round goes the whole way to sound; the others only open,
        // and half of those close while still resumed.
        if (round % 10 == 0) {
            instance->start();
            addAudioProblems(findings, instance->play(phraseStart(256), 1024, 256), "round " + std::to_string(round));
            instance->suspend();
        } else if (round % 2 == 0) {
            instance->start();
        }
    }
    return findings.verdict("opened and closed " + std::to_string(kOpenCloseRounds) + " instances");
}

Verdict sixteenInstances(Context& context) {
    Findings findings;
    std::vector<std::unique_ptr<Instance>> instances;
    for (int i = 0; i < kSimultaneousInstances; ++i) {
        auto instance = openStarted(context, findings, kHostSampleRates[i % std::size(kHostSampleRates)], 512);
        if (!instance) return findings.verdict("");
        instances.push_back(std::move(instance));
    }
    std::vector<std::size_t> order(instances.size());
    std::iota(order.begin(), order.end(), 0);
    // Rendering interleaved: every round visits the instances in a new order.
    for (int round = 0; round < 24; ++round) {
        std::shuffle(order.begin(), order.end(), context.random());
        for (std::size_t index : order) {
            vsthost::EventList events = round % 8 == 0 ? notes({context.pick(36, 96)}, context.pick(1, 127))
                                                       : vsthost::EventList{};
            instances[index]->send(events);
            addAudioProblems(findings, instances[index]->render(context.pick(1, 512)),
                             "instance " + std::to_string(index));
        }
    }
    if (context.shape().isSynth()) {
        for (std::size_t i = 0; i < instances.size(); ++i) {
            findings.expect(instances[i]->totals().nonSilentFrames > 0,
                            "instance " + std::to_string(i) + " played notes but stayed silent");
        }
    }
    // Closing in random order; the survivors keep working after each close.
    std::shuffle(instances.begin(), instances.end(), context.random());
    while (!instances.empty()) {
        instances.back()->close();
        instances.pop_back();
        for (auto& survivor : instances) {
            addAudioProblems(findings, survivor->render(128), "after closing another instance");
        }
    }
    return findings.verdict(std::to_string(kSimultaneousInstances) +
                            " instances rendered interleaved and closed in random order");
}

Verdict everySampleRate(Context& context) {
    Findings findings;
    for (float rate : kHostSampleRates) {
        const std::string name = describeFloat(rate) + " Hz";
        // Set before resume, as hosts do when they start.
        auto before = openStarted(context, findings, rate, 512);
        if (!before) break;
        const AudioReport first = before->play(phraseStart(2048), static_cast<VstInt32>(rate / 4), 512);
        addAudioProblems(findings, first, name + " set before resume");
        if (context.shape().isSynth()) findings.expect(first.nonSilentFrames > 0, name + ": notes stayed silent");

        // Set while resumed and sounding, between two blocks.
        auto after = openStarted(context, findings, 44100.0f, 512);
        if (!after) break;
        after->play(phraseStart(2048), 2048, 512);
        after->configure(rate, 512);
        const AudioReport second = after->play(phraseEnd(2048), static_cast<VstInt32>(rate / 4), 512);
        addAudioProblems(findings, second, name + " set while resumed");
    }
    return findings.verdict(std::to_string(std::size(kHostSampleRates)) +
                            " rates from 8000 to 384000 Hz, set before and after resume");
}

Verdict everyBlockSize(Context& context) {
    Findings findings;
    const VstInt32 announced[] = {1, 2, 3, 7, 16, 17, 32, 64, 100, 128, 256, 441, 512, 1000, 1024, 2048, 4096, 8192};
    for (VstInt32 size : announced) {
        auto instance = openStarted(context, findings, 44100.0f, size);
        if (!instance) break;
        const std::string name = "block size " + std::to_string(size);
        AudioReport report;
        const int64_t total = std::max<int64_t>(4 * size, 11025);
        int64_t done = 0;
        for (int block = 0; done < total; ++block) {
            // Full blocks and shorter ones, as hosts do at loop points and ends.
            const VstInt32 frames = block % 3 == 0 ? size : context.pick(1, size);
            vsthost::EventList events;
            if (block == 0) events = phraseStart(frames);
            if (block == 5) events = phraseEnd(frames);
            instance->send(events);
            report += instance->render(frames);
            done += frames;
        }
        addAudioProblems(findings, report, name);
        if (context.shape().isSynth()) findings.expect(report.nonSilentFrames > 0, name + ": notes stayed silent");
    }
    return findings.verdict(std::to_string(std::size(announced)) +
                            " announced block sizes from 1 to 8192, each call up to the announced size");
}

}  // namespace

void addLifecycleChecks(std::vector<Check>& checks) {
    checks.push_back({"lifecycle.open-close-200", openAndClose200});
    checks.push_back({"lifecycle.sixteen-instances", sixteenInstances});
    checks.push_back({"lifecycle.every-sample-rate", everySampleRate});
    checks.push_back({"lifecycle.every-block-size", everyBlockSize});
}

}  // namespace validate
