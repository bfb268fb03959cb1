// The library's exported entry point. It is compiled into each plug-in library
// (not into a static library, where nothing would pull it in).
#include <new>

#include "host/AudioEffect.h"

VST_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster) {
    // Ask the host who it is before anything exists; a host that answers 0 is
    // one we cannot work with, so nothing is created. A host that passes no
    // callback at all cannot be asked; the instance then simply never calls back.
    if (audioMaster && audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
        return nullptr;
    }
    AudioEffect* effect = createEffectInstance(audioMaster);
    return effect ? effect->getAeffect() : nullptr;
}

// Older hosts look the entry point up as "main". It is the same function under
// a second name; on Windows the module definition file adds that name.
#if !defined(_WIN32)
__asm__(".globl main\n\t.type main, @function\n\t.set main, VSTPluginMain");
#endif
