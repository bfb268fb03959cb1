#include "tools/render/AudioFileWriter.h"

#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "tools/render/FileBytes.h"

namespace render {

namespace {

// A WAV file cannot hold more than 4 GiB, some four and a half hours of
// 24-bit stereo at 44100 Hz. Audio that may grow larger goes into an RF64
// file, the WAV variant with 64-bit sizes; everything else into a plain WAV
// file, which every player reads.
constexpr int64_t kLargestWavBytes = (int64_t{1} << 32) - (int64_t{1} << 20);  // with room for the headers

int sndfileFormat(OutputFormat format, bool large) {
    const int wav = large ? SF_FORMAT_RF64 : SF_FORMAT_WAV;
    switch (format) {
        case OutputFormat::Wav16:
            return wav | SF_FORMAT_PCM_16;
        case OutputFormat::Wav24:
            return wav | SF_FORMAT_PCM_24;
        case OutputFormat::WavFloat:
            return wav | SF_FORMAT_FLOAT;
        case OutputFormat::Flac16:
            return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
        case OutputFormat::Flac24:
            return SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
    }
    return wav | SF_FORMAT_PCM_24;
}

int bytesPerSample(OutputFormat format) {
    switch (format) {
        case OutputFormat::Wav16:
        case OutputFormat::Flac16:
            return 2;
        case OutputFormat::WavFloat:
            return 4;
        default:
            return 3;
    }
}

int integerBits(OutputFormat format) {
    switch (format) {
        case OutputFormat::Wav16:
        case OutputFormat::Flac16:
            return 16;
        case OutputFormat::WavFloat:
            return 0;
        default:
            return 24;
    }
}

// Full scale maps to the format's integer range, rounded to the nearest step
// (halves away from zero) and clipped at both ends rather than wrapped. The
// result sits in the top bits of a 32-bit value, where libsndfile takes
// integer samples from.
int32_t toInteger(float sample, float scale, int shift) {
    const float scaled = std::min(std::max(sample * scale, -scale), scale - 1.0f);
    // copysign keeps this free of branches, which a waveform's sign changes
    // would keep mispredicting.
    const auto rounded = static_cast<int32_t>(scaled + std::copysign(0.5f, scaled));
    return static_cast<int32_t>(static_cast<uint32_t>(rounded) << shift);
}

void toIntegers(const float* samples, std::size_t count, int bits, int32_t* out) {
    const float scale = static_cast<float>(int64_t{1} << (bits - 1));
    const int shift = 32 - bits;
    // Runs of a fixed length let the compiler convert several samples per
    // instruction; the conversion would otherwise cost more than the rest
    // of the renderer together.
    constexpr std::size_t kRun = 8;
    std::size_t i = 0;
    for (; i + kRun <= count; i += kRun) {
        for (std::size_t j = 0; j < kRun; ++j) out[i + j] = toInteger(samples[i + j], scale, shift);
    }
    for (; i < count; ++i) out[i] = toInteger(samples[i], scale, shift);
}

// libsndfile's virtual input and output, routed to the buffered file.
sf_count_t virtualLength(void* file) { return static_cast<BufferedFile*>(file)->length(); }
sf_count_t virtualSeek(sf_count_t offset, int whence, void* file) {
    return static_cast<BufferedFile*>(file)->seek(offset, whence);
}
sf_count_t virtualRead(void* data, sf_count_t count, void* file) {
    return static_cast<BufferedFile*>(file)->read(data, count);
}
sf_count_t virtualWrite(const void* data, sf_count_t count, void* file) {
    return static_cast<BufferedFile*>(file)->write(data, count);
}
sf_count_t virtualTell(void* file) { return static_cast<BufferedFile*>(file)->tell(); }

SF_VIRTUAL_IO bufferedFileIo{virtualLength, virtualSeek, virtualRead, virtualWrite, virtualTell};

}  // namespace

std::unique_ptr<AudioFileWriter> AudioFileWriter::create(const std::string& path, OutputFormat format, int channels,
                                                         int sampleRate, int64_t mostFrames, std::string& error) {
    std::string tempPath;
    const int fd = createTemporaryNextTo(path, tempPath, error);
    if (fd < 0) return nullptr;
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = sndfileFormat(format, mostFrames * channels * bytesPerSample(format) > kLargestWavBytes);
    if (!sf_format_check(&info)) {
        error = path + ": " + outputFormatDescription(format) + " cannot hold " + std::to_string(channels) +
                " channels at " + std::to_string(sampleRate) + " Hz";
        ::close(fd);
        ::unlink(tempPath.c_str());
        return nullptr;
    }
    std::unique_ptr<AudioFileWriter> writer(
        new AudioFileWriter(std::make_unique<BufferedFile>(fd), path, tempPath));
    writer->file_ = sf_open_virtual(&bufferedFileIo, SFM_WRITE, &info, writer->output_.get());
    if (!writer->file_) {
        error = path + ": cannot start the audio file (" + sf_strerror(nullptr) + ")";
        return nullptr;
    }
    // Float samples beyond full scale clip instead of wrapping around, should
    // any reach the library's own conversion.
    sf_command(writer->file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    writer->channels_ = channels;
    writer->integerBits_ = integerBits(format);
    return writer;
}

AudioFileWriter::~AudioFileWriter() {
    if (!committed_) discard();
}

void AudioFileWriter::discard() {
    if (file_) sf_close(file_);
    file_ = nullptr;
    output_.reset();
    ::unlink(tempPath_.c_str());
}

std::string AudioFileWriter::reason() const {
    // A failed system call says more than the audio library's summary of it.
    return output_->failure().empty() ? std::string(sf_strerror(file_)) : output_->failure();
}

bool AudioFileWriter::write(const float* interleaved, int64_t frames, std::string& error) {
    sf_count_t written = 0;
    if (integerBits_ == 0) {
        written = sf_writef_float(file_, interleaved, frames);
    } else {
        const auto count = static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels_);
        if (integers_.size() < count) integers_.resize(count);
        toIntegers(interleaved, count, integerBits_, integers_.data());
        written = sf_writef_int(file_, integers_.data(), frames);
    }
    if (written != frames) {
        error = path_ + ": cannot write the audio (" + reason() + ")";
        return false;
    }
    return true;
}

bool AudioFileWriter::commit(std::string& error) {
    const int closed = sf_close(file_);
    file_ = nullptr;
    const bool kept = closed == 0 && output_->close();
    if (!kept) {
        error = path_ + ": cannot finish the audio file (" +
                (output_->failure().empty() ? std::string(sf_error_number(closed)) : output_->failure()) + ")";
        discard();
        committed_ = true;
        return false;
    }
    committed_ = true;
    return replaceWithTemporary(tempPath_, path_, error);
}

}  // namespace render
