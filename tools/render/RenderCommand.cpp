#include "tools/render/RenderCommand.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>

#include "tools/host/Plugin.h"
#include "tools/render/AudioFileWriter.h"
#include "tools/render/BackgroundWriter.h"
#include "tools/render/CommandLine.h"
#include "tools/render/DefaultPlugin.h"
#include "tools/render/EventSchedule.h"
#include "tools/render/MidiFileReader.h"
#include "tools/render/PluginListing.h"
#include "tools/render/ProgressBar.h"
#include "tools/render/RenderHost.h"
#include "tools/render/Renderer.h"
#include "tools/render/SoundSetup.h"

namespace render {

namespace {

constexpr const char* kProgramName = "orrelune-render";

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string decibels(float peak) {
    if (peak <= 0.0f) return "silent";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f dBFS", 20.0 * std::log10(static_cast<double>(peak)));
    return "peak " + std::string(text);
}

std::string fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

bool isIntegerFormat(OutputFormat format) { return format != OutputFormat::WavFloat; }

// A library that is not an instrument, or that has no way for us to get
// its sound, is refused before anything is rendered.
bool checkInstrument(vsthost::Plugin& plugin, const std::string& path, std::string& error) {
    const AEffect& effect = *plugin.effect();
    if ((effect.flags & effFlagsIsSynth) == 0 && plugin.dispatch(effGetPlugCategory) != kPlugCategSynth) {
        error = path + ": the plug-in is an effect, not an instrument";
        return false;
    }
    if (effect.numOutputs < 1) {
        error = path + ": the plug-in has no audio outputs";
        return false;
    }
    if ((effect.flags & effFlagsCanReplacing) == 0 || !effect.processReplacing) {
        error = path + ": the plug-in cannot render into replacing buffers, the only way this renderer takes sound";
        return false;
    }
    return true;
}

class RenderCommand {
public:
    RenderCommand(const CommandLine& line, const CommandContext& context) : line_(line), context_(context) {}

    int run() {
        const Clock::time_point start = Clock::now();
        if (line_.renders() && !readMidi()) return fail();
        readingSeconds_ = secondsSince(start);
        if (!loadPlugin() || !setUpSound()) return fail();
        if (line_.savePresetPath && !savePresetFile(*plugin_, *line_.savePresetPath, error_)) return fail();
        if (line_.list) printPluginListing(*plugin_, pluginPath_, context_.out);
        if (!line_.renders()) return kExitSuccess;
        return render();
    }

private:
    int fail() {
        context_.err << kProgramName << ": " << error_ << "\n";
        return kExitFailure;
    }

    bool readMidi() {
        std::optional<MidiFile> file = readMidiFile(*line_.midiPath, error_);
        if (!file) return false;
        schedule_ = EventSchedule::build(*file, line_.sampleRate, error_);
        if (!schedule_) error_ = *line_.midiPath + ": " + error_;
        return schedule_.has_value();
    }

    bool loadPlugin() {
        if (line_.pluginPath) {
            pluginPath_ = *line_.pluginPath;
        } else if (std::optional<std::string> found = findDefaultPlugin(error_)) {
            pluginPath_ = *found;
        } else {
            return false;
        }
        library_ = vsthost::PluginLibrary::open(pluginPath_, error_);
        if (!library_) return false;
        renderHost_ = std::make_unique<RenderHost>(host_);
        plugin_ = vsthost::Plugin::create(*library_, host_, error_);
        if (!plugin_ || !checkInstrument(*plugin_, pluginPath_, error_)) return false;
        plugin_->dispatch(effOpen);
        return true;
    }

    bool setUpSound() {
        RenderSettings settings;
        settings.sampleRate = line_.sampleRate;
        settings.blockSize = line_.blockSize;
        settings.tailSeconds = line_.tailSeconds;
        renderer_ = std::make_unique<Renderer>(*plugin_, *renderHost_, settings);
        renderer_->prepare();
        if (!applySoundOptions(*plugin_, line_.sound, error_)) return false;
        settleFromProgramChunk(*plugin_);
        return true;
    }

    int render() {
        const OutputFormat format = line_.format.value_or(outputFormatForPath(*line_.outputPath));
        std::unique_ptr<AudioFileWriter> writer = AudioFileWriter::create(
            *line_.outputPath, format, renderer_->outputChannels(), static_cast<int>(line_.sampleRate),
            renderer_->mostFrames(*schedule_), error_);
        if (!writer) return fail();
        ProgressBar progress(context_.err, context_.progressVisible && !line_.quiet, line_.sampleRate,
                             context_.stopFlag);
        const Clock::time_point start = Clock::now();
        std::optional<RenderResult> result;
        double finishSeconds = 0.0;
        {
            BackgroundWriter background(*writer, renderer_->outputChannels());
            result = renderer_->run(*schedule_, background, &progress, error_);
            progress.finish();
            if (!result) return fail();
            const Clock::time_point finishStart = Clock::now();
            if (!background.finish(error_) || !writer->commit(error_)) return fail();
            finishSeconds = secondsSince(finishStart);
            writingThreadSeconds_ = background.busySeconds();
            fileSystemSeconds_ = writer->fileSystemSeconds();
        }
        const double renderSeconds = secondsSince(start);
        if (!line_.quiet) printSummary(*result, format, renderSeconds);
        if (line_.stats) printStats(*result, renderSeconds, finishSeconds);
        return kExitSuccess;
    }

    void printSummary(const RenderResult& result, OutputFormat format, double renderSeconds) {
        const double seconds = static_cast<double>(result.frames) / line_.sampleRate;
        std::string line = *line_.outputPath + ": " + formatDuration(seconds) + " of " +
                           outputFormatDescription(format) + " at " + std::to_string(line_.sampleRate) + " Hz, " +
                           (renderer_->outputChannels() == 2 ? "stereo" : "mono") + ", " + decibels(result.peak);
        if (result.peak > 1.0f && isIntegerFormat(format)) line += " (clipped)";
        line += ", rendered at " + fixed(seconds / std::max(renderSeconds, 1e-9), 1) + "x real time";
        if (result.tailCut) {
            line += "; the sound had not died away when the tail stopped at " +
                    fixed(Renderer::kLongestTailSeconds, 0) + " s";
        }
        if (result.nonFiniteSamples > 0) {
            const bool one = result.nonFiniteSamples == 1;
            line += "; the plug-in produced " + std::to_string(result.nonFiniteSamples) +
                    (one ? " sample that was not a number" : " samples that were not numbers") +
                    ", written as silence";
        }
        context_.out << line << "\n";
    }

    // Where the time went, so the renderer's own share can be checked.
    // Writing counts the time the render spent handing audio to the writing
    // thread, then waiting for the last of it to reach the file.
    void printStats(const RenderResult& result, double renderSeconds, double finishSeconds) {
        const double writing = result.writingSeconds + finishSeconds;
        const double total = readingSeconds_ + renderSeconds;
        const double own = readingSeconds_ + result.schedulingSeconds + writing;
        auto share = [total](double part) { return fixed(part, 3) + " s (" + fixed(100.0 * part / total, 1) + "%)"; };
        context_.out << "time: plug-in " << share(result.pluginSeconds) << ", reading MIDI " << share(readingSeconds_)
                     << ", scheduling events " << share(result.schedulingSeconds) << ", writing audio "
                     << share(writing) << ", total " << fixed(total, 3) << " s\n"
                     << "renderer's own share (reading, scheduling, writing): " << fixed(100.0 * own / total, 1)
                     << "%\n"
                     << "writing thread: busy " << fixed(writingThreadSeconds_, 3) << " s, of which "
                     << fixed(fileSystemSeconds_, 3) << " s in the system's file writes\n";
    }

    const CommandLine& line_;
    const CommandContext& context_;
    std::string error_;
    std::optional<EventSchedule> schedule_;
    std::string pluginPath_;
    double readingSeconds_ = 0.0;
    double writingThreadSeconds_ = 0.0;
    double fileSystemSeconds_ = 0.0;
    // Declared in the order they must be built; destroyed in reverse, so the
    // plug-in closes before its host and its library go.
    std::unique_ptr<vsthost::PluginLibrary> library_;
    vsthost::Host host_;
    std::unique_ptr<RenderHost> renderHost_;
    std::unique_ptr<vsthost::Plugin> plugin_;
    std::unique_ptr<Renderer> renderer_;
};

}  // namespace

int runRenderCommand(const std::vector<std::string>& arguments, const CommandContext& context) {
    std::string error;
    std::optional<CommandLine> line = parseCommandLine(arguments, error);
    if (!line) {
        context.err << kProgramName << ": " << error << "\n"
                    << "Run '" << kProgramName << " --help' for the options.\n";
        return kExitUsage;
    }
    if (line->help) {
        context.out << usageText();
        return kExitSuccess;
    }
    return RenderCommand(*line, context).run();
}

}  // namespace render
