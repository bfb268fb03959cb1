// One plug-in instance as a host holds it: the record returned by the entry
// point, reached only through the record's entries.
#pragma once

#include <memory>
#include <string>

#include "host/VstAbi.h"
#include "tools/host/EventList.h"
#include "tools/host/Host.h"
#include "tools/host/PluginLibrary.h"

namespace vsthost {

class Plugin {
public:
    // Calls the library's entry point with the host's callback (or with
    // `callback` instead, which may be null). Returns null with `error` set
    // when the entry point returns no record or a record without the magic.
    static std::unique_ptr<Plugin> create(const PluginLibrary& library, Host& host, std::string& error);
    static std::unique_ptr<Plugin> create(const PluginLibrary& library, Host& host, audioMasterCallback callback,
                                          std::string& error);
    // Closes the instance if it is still open.
    ~Plugin();

    AEffect* effect() const { return effect_; }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f);
    // Asks for a text (name, label, display, vendor...) into a generous buffer.
    std::string text(VstInt32 opcode, VstInt32 index = 0);

    void setParameter(VstInt32 index, float value);
    float getParameter(VstInt32 index);

    void setSampleRate(float rate);
    void setBlockSize(VstInt32 frames);
    void resume();
    void suspend();

    VstIntPtr sendEvents(EventList& events);
    void processReplacing(float** inputs, float** outputs, VstInt32 frames);

    // Sends effClose and forgets the record; answers the dispatcher's result.
    VstIntPtr close();

    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

private:
    explicit Plugin(AEffect* effect) : effect_(effect) {}

    AEffect* effect_;
};

}  // namespace vsthost
