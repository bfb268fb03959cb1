#include "tools/validate/AudioBuffers.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace validate {

namespace {

// A quiet NaN with a payload of its own: no arithmetic result has these bits.
constexpr uint32_t kGuardBits = 0x7FC0DEADu;

uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float guardValue() {
    float value;
    std::memcpy(&value, &kGuardBits, sizeof value);
    return value;
}

bool isDenormal(float value) { return value != 0.0f && std::fabs(value) < std::numeric_limits<float>::min(); }

void appendProblem(std::string& text, uint64_t count, const char* what) {
    if (count == 0) return;
    if (!text.empty()) text += ", ";
    text += std::to_string(count) + " " + what;
}

}  // namespace

AudioReport& AudioReport::operator+=(const AudioReport& other) {
    frames += other.frames;
    nonFinite += other.nonFinite;
    denormals += other.denormals;
    unwritten += other.unwritten;
    guardBreaches += other.guardBreaches;
    nonSilentFrames += other.nonSilentFrames;
    peak = std::fmax(peak, other.peak);
    return *this;
}

std::string AudioReport::problems() const {
    std::string text;
    appendProblem(text, nonFinite, "NaN or infinite samples");
    appendProblem(text, denormals, "denormal samples");
    appendProblem(text, unwritten, "samples left unwritten");
    appendProblem(text, guardBreaches, "calls writing outside the frames they were given");
    return text;
}

AudioBuffers::AudioBuffers(int channels, int capacity, uint32_t seed)
    : capacity_(0), channels_(static_cast<std::size_t>(channels)), noise_(static_cast<std::size_t>(channels)),
      garbage_(static_cast<std::size_t>(channels)), pointers_(static_cast<std::size_t>(channels)), random_(seed) {
    rebuild(capacity < 1 ? 1 : capacity);
}

void AudioBuffers::reserve(int frames) {
    if (frames > capacity_) rebuild(frames);
}

void AudioBuffers::rebuild(int capacity) {
    capacity_ = capacity;
    const std::size_t length = static_cast<std::size_t>(capacity) + 2 * kGuardFrames;
    std::uniform_real_distribution<float> magnitude(0.25f, 0.75f);
    std::bernoulli_distribution negative(0.5);
    const float specials[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::denorm_min(),
                              -1.0e-40f, 3.0e38f, -3.0e38f};
    std::uniform_int_distribution<std::size_t> special(0, std::size(specials) - 1);
    for (std::size_t c = 0; c < channels_.size(); ++c) {
        std::vector<float>& noise = noise_[c];
        std::vector<float>& garbage = garbage_[c];
        noise.assign(length, guardValue());
        garbage.assign(length, guardValue());
        for (std::size_t i = kGuardFrames; i < length - kGuardFrames; ++i) {
            const float value = negative(random_) ? -magnitude(random_) : magnitude(random_);
            noise[i] = value;
            garbage[i] = (i % 3 == 0) ? specials[special(random_)] : value;
        }
        channels_[c] = noise;
        pointers_[c] = channels_[c].data() + kGuardFrames;
    }
}

void AudioBuffers::prepare(Prefill prefill) {
    prefill_ = prefill;
    const auto& source = prefilled();
    for (std::size_t c = 0; c < channels_.size(); ++c) {
        std::memcpy(channels_[c].data(), source[c].data(), channels_[c].size() * sizeof(float));
    }
}

AudioReport AudioBuffers::inspect(int frames) const {
    AudioReport report;
    const int written = frames < 0 ? 0 : (frames > capacity_ ? capacity_ : frames);
    report.frames = static_cast<uint64_t>(written);
    std::vector<bool> sounding(static_cast<std::size_t>(written), false);
    bool breached = false;
    for (std::size_t c = 0; c < channels_.size(); ++c) {
        const std::vector<float>& samples = channels_[c];
        for (int g = 0; g < kGuardFrames; ++g) {
            const std::size_t after = static_cast<std::size_t>(kGuardFrames + capacity_ + g);
            breached = breached || bitsOf(samples[static_cast<std::size_t>(g)]) != kGuardBits ||
                       bitsOf(samples[after]) != kGuardBits;
        }
        // Frames past the call's count belong to the host as much as the guards do.
        for (int i = written; i < capacity_; ++i) {
            const std::size_t at = static_cast<std::size_t>(kGuardFrames + i);
            breached = breached || bitsOf(samples[at]) != bitsOf(prefilled()[c][at]);
        }
        for (int i = 0; i < written; ++i) {
            const std::size_t at = static_cast<std::size_t>(kGuardFrames + i);
            const float value = samples[at];
            if (bitsOf(value) == bitsOf(prefilled()[c][at])) {
                ++report.unwritten;
            } else if (!std::isfinite(value)) {
                ++report.nonFinite;
            } else {
                if (isDenormal(value)) ++report.denormals;
                report.peak = std::fmax(report.peak, std::fabs(value));
            }
            if (value != 0.0f) sounding[static_cast<std::size_t>(i)] = true;
        }
    }
    for (bool frameSounds : sounding) report.nonSilentFrames += frameSounds ? 1 : 0;
    report.guardBreaches = breached ? 1 : 0;
    return report;
}

bool AudioBuffers::untouched() const {
    for (std::size_t c = 0; c < channels_.size(); ++c) {
        if (std::memcmp(channels_[c].data(), prefilled()[c].data(), channels_[c].size() * sizeof(float)) != 0) {
            return false;
        }
    }
    return true;
}

const float* AudioBuffers::channel(int index) const {
    return channels_[static_cast<std::size_t>(index)].data() + kGuardFrames;
}

}  // namespace validate
