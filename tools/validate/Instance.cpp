#include "tools/validate/Instance.h"

#include <algorithm>

#include "tools/validate/RealtimeWatch.h"

namespace validate {

namespace {

int outputChannels(const AEffect& record) { return std::max(record.numOutputs, 1); }
int inputChannels(const AEffect& record) { return std::max(record.numInputs, 1); }

}  // namespace

Instance::Instance(std::unique_ptr<vsthost::Plugin> plugin, uint32_t seed)
    : plugin_(std::move(plugin)),
      outputs_(outputChannels(*plugin_->effect()), 512, seed),
      inputs_(static_cast<std::size_t>(inputChannels(*plugin_->effect()))),
      inputPointers_(inputs_.size()),
      captured_(static_cast<std::size_t>(outputChannels(*plugin_->effect()))) {}

void Instance::start(float sampleRate, VstInt32 blockSize) {
    dispatch(effOpen);
    configure(sampleRate, blockSize);
    resume();
}

void Instance::configure(float sampleRate, VstInt32 blockSize) {
    plugin_->setSampleRate(sampleRate);
    plugin_->setBlockSize(blockSize);
}

VstIntPtr Instance::send(vsthost::EventList& events) {
    VstEvents* list = events.events();
    AudioCallScope watched;
    return plugin_->dispatch(effProcessEvents, 0, 0, list);
}

AudioReport Instance::render(VstInt32 frames, Prefill prefill) {
    outputs_.reserve(frames);
    reserveInputs(frames);
    outputs_.prepare(prefill);
    {
        AudioCallScope watched;
        plugin_->processReplacing(inputPointers_.data(), outputs_.pointers(), frames);
    }
    const AudioReport report = outputs_.inspect(frames);
    totals_ += report;
    if (capturing_ && frames > 0) {
        for (std::size_t c = 0; c < captured_.size(); ++c) {
            const float* channel = outputs_.channel(static_cast<int>(c));
            captured_[c].insert(captured_[c].end(), channel, channel + frames);
        }
    }
    return report;
}

AudioReport Instance::play(vsthost::EventList events, VstInt32 frames, VstInt32 blockFrames) {
    AudioReport report;
    send(events);
    for (VstInt32 done = 0; done < frames; done += blockFrames) {
        report += render(std::min(blockFrames, frames - done));
    }
    return report;
}

bool Instance::renderWritesNothing(VstInt32 frames) {
    reserveInputs(0);
    outputs_.prepare();
    {
        AudioCallScope watched;
        plugin_->processReplacing(inputPointers_.data(), outputs_.pointers(), frames);
    }
    return outputs_.untouched();
}

void Instance::reserveInputs(VstInt32 frames) {
    const std::size_t length = static_cast<std::size_t>(std::max(frames, outputs_.capacity()));
    for (std::size_t c = 0; c < inputs_.size(); ++c) {
        if (inputs_[c].size() < length) inputs_[c].assign(length, 0.0f);
        inputPointers_[c] = inputs_[c].data();
    }
}

VstIntPtr Instance::close() { return plugin_->close(); }

}  // namespace validate
