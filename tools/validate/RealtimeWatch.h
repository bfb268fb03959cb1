// Watches the audio calls for allocations and locks.
//
// The validator runs every processReplacing and effProcessEvents call inside
// an AudioCallScope. The allocator and lock functions of the whole process are
// replaced (RealtimeInterposer.cpp) by versions that report to this watch
// before doing their work; a report made on a thread that is inside an audio
// call, and not inside the host callback, counts as a violation. The plug-in
// library resolves malloc, operator new and the pthread lock functions to the
// validator's versions because the executable comes first in symbol lookup.
#pragma once

#include <cstdint>

namespace validate {

enum class RealtimeEvent { Allocation, Release, Lock };

struct RealtimeTally {
    uint64_t audioCalls = 0;
    uint64_t allocations = 0;  // malloc, calloc, realloc, aligned forms, operator new
    uint64_t releases = 0;     // free, operator delete
    uint64_t locks = 0;        // mutex, read-write lock, spin lock, semaphore waits

    uint64_t violations() const { return allocations + releases + locks; }
    RealtimeTally operator-(const RealtimeTally& earlier) const;
    RealtimeTally& operator+=(const RealtimeTally& other);
};

// The counts so far in this process.
RealtimeTally realtimeTally();

// How the watch sees allocations and locks in this build, for the report.
const char* realtimeWatchMethod();
// False when this build can see neither (the interposer is missing).
bool realtimeWatchActive();

// Allocates, releases and locks inside an audio-call scope of its own and
// tells whether the watch saw all three: proof that the watch works in this
// build before its silence is taken as a verdict.
bool realtimeWatchSeesProbe();

// Called by the interposer for every allocation, release or lock.
void reportRealtimeEvent(RealtimeEvent event);
// The interposer marks itself present at start-up.
void markRealtimeWatchInstalled(const char* method);

// The current thread is inside a plug-in's audio call while one exists.
class AudioCallScope {
public:
    AudioCallScope();
    ~AudioCallScope();
    AudioCallScope(const AudioCallScope&) = delete;
    AudioCallScope& operator=(const AudioCallScope&) = delete;
};

// The plug-in called back into the host: what the host does there is its own
// business, not the plug-in's.
class HostCallScope {
public:
    HostCallScope();
    ~HostCallScope();
    HostCallScope(const HostCallScope&) = delete;
    HostCallScope& operator=(const HostCallScope&) = delete;

private:
    int savedDepth_;
};

}  // namespace validate
