// The host side of the host callback: records every request a plug-in makes
// and answers each opcode with a value that can be set per opcode.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "host/VstAbi.h"

namespace vsthost {

struct HostRequest {
    AEffect* effect;
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    void* ptr;
    float opt;
};

class Host {
public:
    // A host of version 2400 that answers 0 to everything else.
    Host();
    ~Host();

    // Requests with this opcode are answered with `answer` from now on.
    void setAnswer(VstInt32 opcode, VstIntPtr answer);
    // A handler that may answer any request itself; returning nothing falls
    // back to the per-opcode answers.
    void setHandler(std::function<std::optional<VstIntPtr>(const HostRequest&)> handler);
    // Keep a copy of every request (on by default).
    void setRecording(bool on);

    std::vector<HostRequest> requests() const;
    std::vector<HostRequest> requestsWith(VstInt32 opcode) const;
    void clearRequests();

    // The callback handed to a plug-in's entry point. Requests from an effect
    // are routed to the host that created it; the version probe, which comes
    // before any effect exists, goes to the host that is creating one.
    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                          void* ptr, float opt);

    // Routing between effects and hosts, used by Plugin.
    static void beginCreating(Host* host);
    static void endCreating();
    static void attach(AEffect* effect, Host* host);
    static void detach(AEffect* effect);

    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

private:
    VstIntPtr answer(const HostRequest& request);

    mutable std::mutex mutex_;
    std::vector<HostRequest> requests_;
    std::map<VstInt32, VstIntPtr> answers_;
    std::function<std::optional<VstIntPtr>(const HostRequest&)> handler_;
    bool recording_ = true;
};

}  // namespace vsthost
