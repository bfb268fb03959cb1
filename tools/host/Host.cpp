#include "tools/host/Host.h"

namespace vsthost {

namespace {
std::mutex routesMutex;
std::map<AEffect*, Host*>& routes() {
    static std::map<AEffect*, Host*> table;
    return table;
}
thread_local Host* creatingHost = nullptr;
Host* lastHost = nullptr;  // answers requests nobody else claims
}  // namespace

Host::Host() {
    answers_[audioMasterVersion] = 2400;
    std::lock_guard<std::mutex> lock(routesMutex);
    lastHost = this;
}

Host::~Host() {
    std::lock_guard<std::mutex> lock(routesMutex);
    for (auto it = routes().begin(); it != routes().end();) {
        it = it->second == this ? routes().erase(it) : std::next(it);
    }
    if (lastHost == this) lastHost = nullptr;
}

void Host::setAnswer(VstInt32 opcode, VstIntPtr answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_[opcode] = answer;
}

void Host::setHandler(std::function<std::optional<VstIntPtr>(const HostRequest&)> handler) {
    std::lock_guard<std::mutex> lock(mutex_);
    handler_ = std::move(handler);
}

void Host::setRecording(bool on) {
    std::lock_guard<std::mutex> lock(mutex_);
    recording_ = on;
}

std::vector<HostRequest> Host::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

std::vector<HostRequest> Host::requestsWith(VstInt32 opcode) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<HostRequest> matching;
    for (const HostRequest& request : requests_) {
        if (request.opcode == opcode) matching.push_back(request);
    }
    return matching;
}

void Host::clearRequests() {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.clear();
}

VstIntPtr Host::answer(const HostRequest& request) {
    std::function<std::optional<VstIntPtr>(const HostRequest&)> handler;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (recording_) requests_.push_back(request);
        handler = handler_;
    }
    if (handler) {
        if (std::optional<VstIntPtr> handled = handler(request)) return *handled;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = answers_.find(request.opcode);
    return found == answers_.end() ? 0 : found->second;
}

VstIntPtr VSTCALLBACK Host::callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                     float opt) {
    Host* host = nullptr;
    {
        std::lock_guard<std::mutex> lock(routesMutex);
        auto found = routes().find(effect);
        if (found != routes().end()) {
            host = found->second;
        } else if (creatingHost) {
            host = creatingHost;
        } else {
            host = lastHost;
        }
    }
    return host ? host->answer(HostRequest{effect, opcode, index, value, ptr, opt}) : 0;
}

void Host::beginCreating(Host* host) { creatingHost = host; }
void Host::endCreating() { creatingHost = nullptr; }

void Host::attach(AEffect* effect, Host* host) {
    std::lock_guard<std::mutex> lock(routesMutex);
    routes()[effect] = host;
}

void Host::detach(AEffect* effect) {
    std::lock_guard<std::mutex> lock(routesMutex);
    routes().erase(effect);
}

}  // namespace vsthost
