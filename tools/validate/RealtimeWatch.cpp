#include "tools/validate/RealtimeWatch.h"

#include <atomic>
#include <cstdlib>
#include <mutex>

namespace validate {

namespace {

// Plain thread-locals with constant initialisation: reading them never calls
// into the C library, so the allocator replacements may use them at any time,
// even before main.
constinit thread_local int audioCallDepth = 0;

std::atomic<uint64_t> audioCalls{0};
std::atomic<uint64_t> allocations{0};
std::atomic<uint64_t> releases{0};
std::atomic<uint64_t> locks{0};
std::atomic<const char*> watchMethod{nullptr};

}  // namespace

RealtimeTally RealtimeTally::operator-(const RealtimeTally& earlier) const {
    return RealtimeTally{audioCalls - earlier.audioCalls, allocations - earlier.allocations,
                         releases - earlier.releases, locks - earlier.locks};
}

RealtimeTally& RealtimeTally::operator+=(const RealtimeTally& other) {
    audioCalls += other.audioCalls;
    allocations += other.allocations;
    releases += other.releases;
    locks += other.locks;
    return *this;
}

RealtimeTally realtimeTally() {
    return RealtimeTally{audioCalls.load(std::memory_order_relaxed), allocations.load(std::memory_order_relaxed),
                         releases.load(std::memory_order_relaxed), locks.load(std::memory_order_relaxed)};
}

const char* realtimeWatchMethod() {
    const char* method = watchMethod.load(std::memory_order_relaxed);
    return method ? method : "not installed";
}

bool realtimeWatchActive() { return watchMethod.load(std::memory_order_relaxed) != nullptr; }

void markRealtimeWatchInstalled(const char* method) { watchMethod.store(method, std::memory_order_relaxed); }

void reportRealtimeEvent(RealtimeEvent event) {
    if (audioCallDepth <= 0) {
        return;
    }
    switch (event) {
        case RealtimeEvent::Allocation:
            allocations.fetch_add(1, std::memory_order_relaxed);
            break;
        case RealtimeEvent::Release:
            releases.fetch_add(1, std::memory_order_relaxed);
            break;
        case RealtimeEvent::Lock:
            locks.fetch_add(1, std::memory_order_relaxed);
            break;
    }
}

bool realtimeWatchSeesProbe() {
    // Called through volatile pointers, so the compiler cannot leave the
    // allocation out.
    void* (*volatile allocate)(std::size_t) = &std::malloc;
    void (*volatile release)(void*) = &std::free;
    std::mutex mutex;
    const RealtimeTally before = realtimeTally();
    {
        AudioCallScope probe;
        void* memory = allocate(64);
        release(memory);
        mutex.lock();
        mutex.unlock();
    }
    const RealtimeTally seen = realtimeTally() - before;
    return seen.allocations > 0 && seen.releases > 0 && seen.locks > 0;
}

AudioCallScope::AudioCallScope() {
    if (audioCallDepth++ == 0) {
        audioCalls.fetch_add(1, std::memory_order_relaxed);
    }
}

AudioCallScope::~AudioCallScope() { --audioCallDepth; }

HostCallScope::HostCallScope() : savedDepth_(audioCallDepth) { audioCallDepth = 0; }

HostCallScope::~HostCallScope() { audioCallDepth = savedDepth_; }

}  // namespace validate
