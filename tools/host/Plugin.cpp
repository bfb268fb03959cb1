#include "tools/host/Plugin.h"

#include <vector>

namespace vsthost {

std::unique_ptr<Plugin> Plugin::create(const PluginLibrary& library, Host& host, std::string& error) {
    return create(library, host, &Host::callback, error);
}

std::unique_ptr<Plugin> Plugin::create(const PluginLibrary& library, Host& host, audioMasterCallback callback,
                                       std::string& error) {
    Host::beginCreating(&host);
    AEffect* effect = library.entryPoint()(callback);
    Host::endCreating();
    if (!effect) {
        error = library.path() + ": the plug-in refused to create an instance";
        return nullptr;
    }
    if (effect->magic != kEffectMagic) {
        error = library.path() + ": the entry point returned something that is not an effect record";
        return nullptr;
    }
    Host::attach(effect, &host);
    return std::unique_ptr<Plugin>(new Plugin(effect));
}

Plugin::~Plugin() {
    if (effect_) close();
}

VstIntPtr Plugin::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string Plugin::text(VstInt32 opcode, VstInt32 index) {
    // Larger than any text the interface allows, so a plug-in that writes a
    // little more than it should still cannot overrun it.
    std::vector<char> buffer(512, 0);
    dispatch(opcode, index, 0, buffer.data(), 0.0f);
    buffer.back() = 0;
    return std::string(buffer.data());
}

void Plugin::setParameter(VstInt32 index, float value) { effect_->setParameter(effect_, index, value); }
float Plugin::getParameter(VstInt32 index) { return effect_->getParameter(effect_, index); }

void Plugin::setSampleRate(float rate) { dispatch(effSetSampleRate, 0, 0, nullptr, rate); }
void Plugin::setBlockSize(VstInt32 frames) { dispatch(effSetBlockSize, 0, frames); }
void Plugin::resume() { dispatch(effMainsChanged, 0, 1); }
void Plugin::suspend() { dispatch(effMainsChanged, 0, 0); }

VstIntPtr Plugin::sendEvents(EventList& events) { return dispatch(effProcessEvents, 0, 0, events.events()); }

void Plugin::processReplacing(float** inputs, float** outputs, VstInt32 frames) {
    effect_->processReplacing(effect_, inputs, outputs, frames);
}

VstIntPtr Plugin::close() {
    AEffect* effect = effect_;
    effect_ = nullptr;
    const VstIntPtr result = effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    Host::detach(effect);
    return result;
}

}  // namespace vsthost
