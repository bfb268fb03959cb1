// What every check works with: the plug-in library under test, the host, a
// random source seeded for the check, and what the plug-in's record says.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "tools/host/PluginLibrary.h"
#include "tools/validate/Instance.h"
#include "tools/validate/ValidatorHost.h"

namespace validate {

// The record of a first instance, read once when the library is loaded.
struct PluginShape {
    VstInt32 numPrograms = 0;
    VstInt32 numParams = 0;
    VstInt32 numInputs = 0;
    VstInt32 numOutputs = 0;
    VstInt32 flags = 0;

    bool isSynth() const { return (flags & effFlagsIsSynth) != 0; }
    bool hasEditor() const { return (flags & effFlagsHasEditor) != 0; }
    bool programChunks() const { return (flags & effFlagsProgramChunks) != 0; }
};

class Context {
public:
    Context(const vsthost::PluginLibrary& library, const PluginShape& shape, uint64_t seed);

    const vsthost::PluginLibrary& library() const { return library_; }
    const PluginShape& shape() const { return shape_; }
    ValidatorHost& host() { return host_; }
    std::mt19937_64& random() { return random_; }
    uint32_t nextSeed() { return static_cast<uint32_t>(random_()); }

    // A new instance through the entry point with the validator's callback, or
    // with `callback` (which may be null). Null when the plug-in refuses.
    std::unique_ptr<Instance> open();
    std::unique_ptr<Instance> openWith(audioMasterCallback callback);
    // The reason of the last refusal.
    const std::string& lastError() const { return lastError_; }

    // A random float in [low, high).
    float uniform(float low, float high);
    // A random integer in [low, high].
    int pick(int low, int high);

private:
    const vsthost::PluginLibrary& library_;
    PluginShape shape_;
    ValidatorHost host_;
    std::mt19937_64 random_;
    std::string lastError_;
};

// Loads the shape from a first instance; false with `error` set when the
// library gives no usable instance.
bool readPluginShape(const vsthost::PluginLibrary& library, PluginShape& shape, std::string& error);

}  // namespace validate
