// The render's progress on a terminal: a bar over the piece, then the tail's
// running length, redrawn in place a few times a second. Also where an
// interrupt request reaches the render.
#pragma once

#include <chrono>
#include <csignal>
#include <cstdint>
#include <ostream>

#include "tools/render/Renderer.h"

namespace render {

class ProgressBar : public RenderObserver {
public:
    // Draws on `stream` only when `visible`; `stopFlag`, when given, is set
    // from a signal handler to ask for the render to stop.
    ProgressBar(std::ostream& stream, bool visible, uint32_t sampleRate, const volatile std::sig_atomic_t* stopFlag);

    void blockDone(int64_t framesDone, int64_t pieceFrames) override;
    bool stopRequested() override { return stopFlag_ && *stopFlag_ != 0; }
    // Clears the bar's line so that the next message starts clean.
    void finish();

private:
    void draw(int64_t framesDone, int64_t pieceFrames);

    std::ostream& stream_;
    bool visible_;
    uint32_t sampleRate_;
    const volatile std::sig_atomic_t* stopFlag_;
    std::chrono::steady_clock::time_point lastDraw_{};
    bool drawn_ = false;
};

// "1:05.3" for 65.3 seconds.
std::string formatDuration(double seconds);

}  // namespace render
