#include "tools/render/BackgroundWriter.h"

#include <chrono>

namespace render {

BackgroundWriter::BackgroundWriter(AudioSink& target, int channels)
    : target_(target), channels_(static_cast<std::size_t>(channels)), thread_([this] { writeRuns(); }) {
    filling_.reserve(kRunFrames * channels_);
}

BackgroundWriter::~BackgroundWriter() { stop(true); }

void BackgroundWriter::stop(bool dropWaiting) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
        if (dropWaiting) waiting_.clear();
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

bool BackgroundWriter::write(const float* interleaved, int64_t frames, std::string& error) {
    filling_.insert(filling_.end(), interleaved, interleaved + static_cast<std::size_t>(frames) * channels_);
    if (filling_.size() >= kRunFrames * channels_) hand();
    if (!failed_.load(std::memory_order_acquire)) return true;
    std::lock_guard<std::mutex> lock(mutex_);
    error = failure_;
    return false;
}

void BackgroundWriter::hand() {
    std::unique_lock<std::mutex> lock(mutex_);
    // A target slower than the plug-in holds the render back here, rather
    // than letting runs pile up without end.
    changed_.wait(lock, [this] { return waiting_.size() < kMostWaitingRuns || failed_.load(); });
    waiting_.push_back(std::move(filling_));
    if (spare_.empty()) {
        filling_ = Run();
        filling_.reserve(kRunFrames * channels_);
    } else {
        filling_ = std::move(spare_.back());
        spare_.pop_back();
        filling_.clear();
    }
    lock.unlock();
    changed_.notify_all();
}

bool BackgroundWriter::finish(std::string& error) {
    if (!filling_.empty()) hand();
    stop(false);
    if (failed_.load()) error = failure_;
    return !failed_.load();
}

void BackgroundWriter::writeRuns() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !waiting_.empty() || closing_; });
        if (waiting_.empty()) return;  // closing, and everything is written
        Run run = std::move(waiting_.front());
        waiting_.pop_front();
        const bool skip = failed_.load();
        lock.unlock();
        std::string error;
        const auto start = std::chrono::steady_clock::now();
        const bool written = skip || target_.write(run.data(), static_cast<int64_t>(run.size() / channels_), error);
        busySeconds_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        lock.lock();
        if (!written && !failed_.load()) {
            failure_ = error;
            failed_.store(true, std::memory_order_release);
        }
        spare_.push_back(std::move(run));
        changed_.notify_all();
    }
}

}  // namespace render
