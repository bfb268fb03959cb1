// One plug-in instance as the validator drives it: set-up calls from the
// host's side, and audio calls made inside the real-time watch with the
// outputs inspected after every call.
#pragma once

#include <memory>
#include <vector>

#include "tools/host/EventList.h"
#include "tools/host/Plugin.h"
#include "tools/validate/AudioBuffers.h"

namespace validate {

class Instance {
public:
    Instance(std::unique_ptr<vsthost::Plugin> plugin, uint32_t seed);

    AEffect& record() { return *plugin_->effect(); }
    vsthost::Plugin& plugin() { return *plugin_; }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f) {
        return plugin_->dispatch(opcode, index, value, ptr, opt);
    }

    // effOpen, the rate, the block size, then resume: what every host does first.
    void start(float sampleRate = 44100.0f, VstInt32 blockSize = 512);
    void configure(float sampleRate, VstInt32 blockSize);
    void resume() { plugin_->resume(); }
    void suspend() { plugin_->suspend(); }

    // effProcessEvents with the list (built before the watched call).
    VstIntPtr send(vsthost::EventList& events);
    VstIntPtr send(vsthost::EventList&& events) { return send(events); }
    // One processReplacing call of `frames` frames into freshly prepared outputs.
    AudioReport render(VstInt32 frames, Prefill prefill = Prefill::Noise);
    // Renders `frames` in calls of `blockFrames`, events delivered before the first.
    AudioReport play(vsthost::EventList events, VstInt32 frames, VstInt32 blockFrames);
    // A call that must not write anything (zero or negative frames): true when nothing changed.
    bool renderWritesNothing(VstInt32 frames);

    // Everything rendered since the instance was opened.
    const AudioReport& totals() const { return totals_; }
    // While capturing, every rendered frame of every channel is kept.
    void capture(bool on) { capturing_ = on; }
    const std::vector<std::vector<float>>& captured() const { return captured_; }

    // Closes the instance now (effClose); afterwards only the destructor may run.
    VstIntPtr close();

private:
    void reserveInputs(VstInt32 frames);

    std::unique_ptr<vsthost::Plugin> plugin_;
    AudioBuffers outputs_;
    std::vector<std::vector<float>> inputs_;  // silent: the validator plays the plug-in, not a signal
    std::vector<float*> inputPointers_;
    AudioReport totals_;
    bool capturing_ = false;
    std::vector<std::vector<float>> captured_;
};

}  // namespace validate
