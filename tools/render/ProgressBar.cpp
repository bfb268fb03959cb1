#include "tools/render/ProgressBar.h"

#include <cstdio>
#include <string>

namespace render {

namespace {

constexpr int kBarWidth = 30;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

}  // namespace

std::string formatDuration(double seconds) {
    const auto tenths = static_cast<long long>(seconds * 10.0 + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld.%lld", tenths / 600, (tenths / 10) % 60, tenths % 10);
    return text;
}

ProgressBar::ProgressBar(std::ostream& stream, bool visible, uint32_t sampleRate,
                         const volatile std::sig_atomic_t* stopFlag)
    : stream_(stream), visible_(visible), sampleRate_(sampleRate), stopFlag_(stopFlag) {}

void ProgressBar::blockDone(int64_t framesDone, int64_t pieceFrames) {
    if (!visible_) return;
    const auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - lastDraw_ < kRedrawInterval) return;
    lastDraw_ = now;
    draw(framesDone, pieceFrames);
}

void ProgressBar::draw(int64_t framesDone, int64_t pieceFrames) {
    const double done = static_cast<double>(framesDone) / sampleRate_;
    const double piece = static_cast<double>(pieceFrames) / sampleRate_;
    std::string line = "\rrendering [";
    if (framesDone < pieceFrames) {
        const auto filled = static_cast<int>(kBarWidth * framesDone / pieceFrames);
        line += std::string(static_cast<std::size_t>(filled), '#') +
                std::string(static_cast<std::size_t>(kBarWidth - filled), '.');
        line += "] " + std::to_string(100 * framesDone / pieceFrames) + "%  " + formatDuration(done) + " of " +
                formatDuration(piece) + "   ";
    } else {
        line += std::string(kBarWidth, '#') + "] tail " + formatDuration(done - piece) + "          ";
    }
    stream_ << line << std::flush;
    drawn_ = true;
}

void ProgressBar::finish() {
    if (!visible_ || !drawn_) return;
    stream_ << '\r' << std::string(80, ' ') << '\r' << std::flush;
    drawn_ = false;
}

}  // namespace render
