// Hands audio to another sink on a thread of its own, so that converting and
// writing one stretch of audio overlaps with rendering the next. Writing to
// a file costs the system time that varies a great deal from one moment to
// the next (page cache, file system, other processes); on its own thread that
// time is spent on another core instead of holding up the plug-in. Audio
// passes in runs of many blocks, and only so many runs may wait, so memory
// stays bounded however long the piece.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tools/render/AudioSink.h"

namespace render {

class BackgroundWriter : public AudioSink {
public:
    BackgroundWriter(AudioSink& target, int channels);
    // Stops the thread; audio still waiting is dropped.
    ~BackgroundWriter() override;

    // Takes a copy of the audio. Fails, with the target's error, once a write
    // to the target has failed.
    bool write(const float* interleaved, int64_t frames, std::string& error) override;
    // Writes everything still waiting and stops the thread. Returns false
    // with the target's error if any write failed.
    bool finish(std::string& error);
    // Time the thread spent writing to the target; valid after finish().
    double busySeconds() const { return busySeconds_; }

    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

private:
    using Run = std::vector<float>;

    void writeRuns();
    void hand();
    // Ends the thread, after the waiting runs unless they are dropped.
    void stop(bool dropWaiting);

    static constexpr std::size_t kRunFrames = 16384;
    static constexpr std::size_t kMostWaitingRuns = 64;

    AudioSink& target_;
    std::size_t channels_;
    Run filling_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Run> waiting_;
    std::vector<Run> spare_;  // written runs, kept to be filled again
    bool closing_ = false;
    // Set once, after failure_, so that a block's hand-over can check it
    // without taking the lock.
    std::atomic<bool> failed_{false};
    std::string failure_;
    double busySeconds_ = 0.0;  // written by the thread alone
    std::thread thread_;  // last, so that it starts after everything it uses
};

}  // namespace render
