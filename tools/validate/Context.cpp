#include "tools/validate/Context.h"

namespace validate {

Context::Context(const vsthost::PluginLibrary& library, const PluginShape& shape, uint64_t seed)
    : library_(library), shape_(shape), random_(seed) {}

std::unique_ptr<Instance> Context::open() { return openWith(ValidatorHost::callback()); }

std::unique_ptr<Instance> Context::openWith(audioMasterCallback callback) {
    auto plugin = vsthost::Plugin::create(library_, host_.host(), callback, lastError_);
    if (!plugin) return nullptr;
    return std::make_unique<Instance>(std::move(plugin), nextSeed());
}

float Context::uniform(float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(random_);
}

int Context::pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

bool readPluginShape(const vsthost::PluginLibrary& library, PluginShape& shape, std::string& error) {
    ValidatorHost host;
    auto plugin = vsthost::Plugin::create(library, host.host(), ValidatorHost::callback(), error);
    if (!plugin) return false;
    const AEffect& record = *plugin->effect();
    shape.numPrograms = record.numPrograms;
    shape.numParams = record.numParams;
    shape.numInputs = record.numInputs;
    shape.numOutputs = record.numOutputs;
    shape.flags = record.flags;
    return true;
}

}  // namespace validate
