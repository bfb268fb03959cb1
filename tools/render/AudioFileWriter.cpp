#include "tools/render/AudioFileWriter.h"

#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "tools/render/FileBytes.h"
#include "tools/render/SampleConversion.h"

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
    writer->flac_ = format == OutputFormat::Flac16 || format == OutputFormat::Flac24;
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
    const auto count = static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels_);
    bool written = false;
    if (integerBits_ == 0) {
        written = sf_writef_float(file_, interleaved, frames) == frames;
    } else if (flac_) {
        if (integers_.size() < count) integers_.resize(count);
        toTopAlignedIntegers(interleaved, count, integerBits_, integers_.data());
        written = sf_writef_int(file_, integers_.data(), frames) == frames;
    } else {
        // WAV data is the samples themselves, so they go in as they will be
        // stored, without a second conversion inside the library.
        const std::size_t bytes = count * static_cast<std::size_t>(integerBits_ / 8);
        if (pcm_.size() < bytes) pcm_.resize(bytes);
        toLittleEndianPcm(interleaved, count, integerBits_, pcm_.data());
        written = sf_write_raw(file_, pcm_.data(), static_cast<sf_count_t>(bytes)) == static_cast<sf_count_t>(bytes);
    }
    if (!written) {
        error = path_ + ": cannot write the audio (" + reason() + ")";
        return false;
    }
    return true;
}

bool AudioFileWriter::commit(std::string& error) {
    const int closed = sf_close(file_);
    file_ = nullptr;
    const bool kept = closed == 0 && output_->close();
    fileSystemSeconds_ = output_->systemSeconds();
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
