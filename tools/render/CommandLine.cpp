#include "tools/render/CommandLine.h"

#include <cmath>
#include <cstdlib>

namespace render {

namespace {

constexpr uint32_t kLowestRate = 8000;
constexpr uint32_t kHighestRate = 384000;
constexpr int32_t kLargestBlock = 16384;
constexpr double kLongestTail = 3600.0;

// Walks the arguments; options take their value from the next argument or
// after an '=' in the same one ("--rate=48000").
class ArgumentCursor {
public:
    explicit ArgumentCursor(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    bool done() const { return index_ >= arguments_.size(); }
    std::string nextAsIs() { return arguments_[index_++]; }
    std::string next() {
        std::string argument = arguments_[index_++];
        inlineValue_.reset();
        const std::size_t equals = argument.find('=');
        if (argument.rfind("--", 0) == 0 && equals != std::string::npos) {
            inlineValue_ = argument.substr(equals + 1);
            argument.resize(equals);
        }
        return argument;
    }
    bool value(const std::string& option, std::string& value, std::string& error) {
        if (inlineValue_) {
            value = *inlineValue_;
            inlineValue_.reset();
            return true;
        }
        if (done()) {
            error = option + " needs a value";
            return false;
        }
        value = arguments_[index_++];
        return true;
    }
    bool unusedValue() const { return inlineValue_.has_value(); }

private:
    const std::vector<std::string>& arguments_;
    std::size_t index_ = 0;
    std::optional<std::string> inlineValue_;
};

bool parseWhole(const std::string& option, const std::string& text, long lowest, long highest, long& value,
                std::string& error) {
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < lowest || value > highest) {
        error = option + " " + text + ": expected a whole number from " + std::to_string(lowest) + " to " +
                std::to_string(highest);
        return false;
    }
    return true;
}

bool parseSeconds(const std::string& option, const std::string& text, double& value, std::string& error) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value) || value < 0.0 || value > kLongestTail) {
        error = option + " " + text + ": expected a number of seconds from 0 to " +
                std::to_string(static_cast<int>(kLongestTail));
        return false;
    }
    return true;
}

bool parseValueOption(const std::string& option, const std::string& value, CommandLine& line, std::string& error) {
    long whole = 0;
    if (option == "--plugin" || option == "-p") {
        line.pluginPath = value;
    } else if (option == "--program") {
        line.sound.program = value;
    } else if (option == "--param") {
        std::optional<ParameterSetting> setting = parseParameterSetting(value, error);
        if (!setting) return false;
        line.sound.parameters.push_back(*setting);
    } else if (option == "--preset") {
        line.sound.presetPath = value;
    } else if (option == "--save-preset") {
        line.savePresetPath = value;
    } else if (option == "--rate" || option == "-r") {
        if (!parseWhole(option, value, kLowestRate, kHighestRate, whole, error)) return false;
        line.sampleRate = static_cast<uint32_t>(whole);
    } else if (option == "--block" || option == "-b") {
        if (!parseWhole(option, value, 1, kLargestBlock, whole, error)) return false;
        line.blockSize = static_cast<int32_t>(whole);
    } else if (option == "--format" || option == "-f") {
        line.format = outputFormatNamed(value);
        if (!line.format) {
            error = option + " " + value + ": expected one of " + outputFormatNames();
            return false;
        }
    } else if (option == "--tail") {
        double seconds = 0.0;
        if (!parseSeconds(option, value, seconds, error)) return false;
        line.tailSeconds = seconds;
    }
    return true;
}

bool takesValue(const std::string& option) {
    for (const char* name : {"--plugin", "-p", "--program", "--param", "--preset", "--save-preset", "--rate", "-r",
                             "--block", "-b", "--format", "-f", "--tail"}) {
        if (option == name) return true;
    }
    return false;
}

bool parseFlag(const std::string& option, CommandLine& line) {
    if (option == "--list") {
        line.list = true;
    } else if (option == "--quiet" || option == "-q") {
        line.quiet = true;
    } else if (option == "--stats") {
        line.stats = true;
    } else if (option == "--help" || option == "-h") {
        line.help = true;
    } else {
        return false;
    }
    return true;
}

bool checkFiles(const std::vector<std::string>& files, CommandLine& line, std::string& error) {
    if (files.size() > 2) {
        error = "too many files: give one MIDI file and one output file";
        return false;
    }
    if (line.list && !files.empty()) {
        error = "--list prints the plug-in's programs and parameters and renders nothing; leave out the files";
        return false;
    }
    if (files.size() == 1) {
        error = "no output file: give the MIDI file and then the audio file to write";
        return false;
    }
    if (files.empty() && !line.list && !line.savePresetPath) {
        error = "no MIDI file: give the MIDI file and the audio file to write";
        return false;
    }
    if (files.size() == 2) {
        line.midiPath = files[0];
        line.outputPath = files[1];
    }
    return true;
}

}  // namespace

std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& arguments, std::string& error) {
    CommandLine line;
    std::vector<std::string> files;
    ArgumentCursor cursor(arguments);
    bool optionsEnded = false;
    while (!cursor.done()) {
        if (optionsEnded) {
            files.push_back(cursor.nextAsIs());
            continue;
        }
        const std::string argument = cursor.next();
        if (argument == "--") {
            optionsEnded = true;
        } else if (takesValue(argument)) {
            std::string value;
            if (!cursor.value(argument, value, error) || !parseValueOption(argument, value, line, error)) {
                return std::nullopt;
            }
        } else if (argument.size() > 1 && argument[0] == '-') {
            if (!parseFlag(argument, line)) {
                error = "unknown option " + argument;
                return std::nullopt;
            }
            if (cursor.unusedValue()) {
                error = argument + " takes no value";
                return std::nullopt;
            }
        } else {
            files.push_back(argument);
        }
    }
    if (line.help) return line;
    if (!checkFiles(files, line, error)) return std::nullopt;
    return line;
}

std::string usageText() {
    return "usage: orrelune-render [options] MIDI-FILE AUDIO-FILE\n"
           "       orrelune-render [options] --list\n"
           "\n"
           "Plays a Standard MIDI File (format 0 or 1) through a VST 2.4 instrument and\n"
           "writes the sound to a WAV or FLAC file.\n"
           "\n"
           "Sound:\n"
           "  -p, --plugin PATH        instrument library (default: Orrelune.so next to this\n"
           "                           program, else the one built with it)\n"
           "      --program N|NAME     program by number (from 0) or by name\n"
           "      --param NAME=VALUE   parameter by the name the plug-in reports, value 0 to 1;\n"
           "                           may be repeated\n"
           "      --preset FILE        load a program (.fxp) or bank (.fxb) preset file\n"
           "      --save-preset FILE   save the sound after the options above (.fxp or .fxb);\n"
           "                           without files, nothing is rendered\n"
           "      --list               print the plug-in's identity, programs and parameters\n"
           "  A bank preset loads first, then --program chooses within it, then a program\n"
           "  preset loads into that program, then --param values apply.\n"
           "\n"
           "Rendering:\n"
           "  -r, --rate HZ            sample rate (default 44100)\n"
           "  -b, --block FRAMES       frames per audio block (default 512)\n"
           "      --tail SECONDS       audio after the last event (default: until the sound\n"
           "                           has stayed below -100 dBFS for 0.1 s, at most 30 s)\n"
           "  -f, --format FORMAT      " + outputFormatNames() + "\n"
           "                           (default: flac24 for a .flac name, wav24 otherwise)\n"
           "\n"
           "Output:\n"
           "  -q, --quiet              no progress bar and no summary\n"
           "      --stats              also print where the time went\n"
           "  -h, --help               this text\n";
}

}  // namespace render
