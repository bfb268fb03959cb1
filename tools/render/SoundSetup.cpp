#include "tools/render/SoundSetup.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "tools/render/FileBytes.h"
#include "tools/render/PresetTransfer.h"

namespace render {

namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

bool isNumber(const std::string& text) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

// An exact match first, so that names differing only in case stay reachable.
std::optional<VstInt32> findName(const std::vector<std::string>& names, const std::string& wanted) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == wanted) return static_cast<VstInt32>(i);
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (sameIgnoringCase(names[i], wanted)) return static_cast<VstInt32>(i);
    }
    return std::nullopt;
}

std::vector<std::string> programNames(vsthost::Plugin& plugin) {
    std::vector<std::string> names;
    for (VstInt32 index = 0; index < plugin.effect()->numPrograms; ++index) {
        names.push_back(plugin.text(effGetProgramNameIndexed, index));
    }
    return names;
}

std::vector<std::string> parameterNames(vsthost::Plugin& plugin) {
    std::vector<std::string> names;
    for (VstInt32 index = 0; index < plugin.effect()->numParams; ++index) {
        names.push_back(plugin.text(effGetParamName, index));
    }
    return names;
}

std::string quotedList(const std::vector<std::string>& names, bool numbered) {
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) list += ", ";
        if (numbered) list += std::to_string(i) + " ";
        list += "\"" + names[i] + "\"";
    }
    return list.empty() ? "none" : list;
}

bool endsWithIgnoringCase(const std::string& text, const std::string& ending) {
    return text.size() >= ending.size() && sameIgnoringCase(text.substr(text.size() - ending.size()), ending);
}

bool loadPresetFromFile(vsthost::Plugin& plugin, const std::string& path, const PresetFile& preset,
                        std::string& error) {
    if (loadPreset(plugin, preset, error)) return true;
    error = path + ": " + error;
    return false;
}

}  // namespace

std::optional<ParameterSetting> parseParameterSetting(const std::string& text, std::string& error) {
    const std::size_t equals = text.rfind('=');
    if (equals == std::string::npos || equals == 0) {
        error = "--param \"" + text + "\": expected NAME=VALUE";
        return std::nullopt;
    }
    ParameterSetting setting;
    setting.name = text.substr(0, equals);
    const std::string valueText = text.substr(equals + 1);
    char* end = nullptr;
    const float value = std::strtof(valueText.c_str(), &end);
    if (valueText.empty() || *end != '\0' || !std::isfinite(value) || value < 0.0f || value > 1.0f) {
        error = "--param \"" + text + "\": the value \"" + valueText + "\" is not a number from 0 to 1";
        return std::nullopt;
    }
    setting.value = value;
    return setting;
}

std::optional<VstInt32> findProgram(vsthost::Plugin& plugin, const std::string& wanted, std::string& error) {
    const VstInt32 count = plugin.effect()->numPrograms;
    const std::vector<std::string> names = programNames(plugin);
    if (std::optional<VstInt32> byName = findName(names, wanted)) return byName;
    if (isNumber(wanted)) {
        const long index = std::strtol(wanted.c_str(), nullptr, 10);
        if (index < count) return static_cast<VstInt32>(index);
        error = "--program " + wanted + ": the plug-in has programs 0 to " + std::to_string(count - 1);
        return std::nullopt;
    }
    error = "--program \"" + wanted + "\": no such program; the programs are " + quotedList(names, true);
    return std::nullopt;
}

std::optional<VstInt32> findParameter(vsthost::Plugin& plugin, const std::string& wanted, std::string& error) {
    const std::vector<std::string> names = parameterNames(plugin);
    if (std::optional<VstInt32> found = findName(names, wanted)) return found;
    error = "--param \"" + wanted + "\": no such parameter; the parameters are " + quotedList(names, false);
    return std::nullopt;
}

std::optional<PresetFile> readPresetFile(const std::string& path, std::string& error) {
    std::optional<std::vector<uint8_t>> bytes = readFileBytes(path, error);
    if (!bytes) return std::nullopt;
    std::optional<PresetFile> preset = parsePresetFile(bytes->data(), bytes->size(), error);
    if (!preset) error = path + ": " + error;
    return preset;
}

bool applySoundOptions(vsthost::Plugin& plugin, const SoundOptions& options, std::string& error) {
    std::optional<PresetFile> preset;
    if (options.presetPath) {
        preset = readPresetFile(*options.presetPath, error);
        if (!preset) return false;
    }
    // Find every name before changing anything, so a typo fails fast.
    std::optional<VstInt32> program;
    if (options.program) {
        program = findProgram(plugin, *options.program, error);
        if (!program) return false;
    }
    std::vector<VstInt32> indices;
    for (const ParameterSetting& setting : options.parameters) {
        std::optional<VstInt32> index = findParameter(plugin, setting.name, error);
        if (!index) return false;
        indices.push_back(*index);
    }
    if (preset && preset->kind == PresetKind::Bank && !loadPresetFromFile(plugin, *options.presetPath, *preset, error)) {
        return false;
    }
    if (program) plugin.dispatch(effSetProgram, 0, *program);
    if (preset && preset->kind == PresetKind::Program &&
        !loadPresetFromFile(plugin, *options.presetPath, *preset, error)) {
        return false;
    }
    for (std::size_t i = 0; i < indices.size(); ++i) plugin.setParameter(indices[i], options.parameters[i].value);
    return true;
}

void settleFromProgramChunk(vsthost::Plugin& plugin) {
    if ((plugin.effect()->flags & effFlagsProgramChunks) == 0) return;
    std::string ignored;
    std::optional<PresetFile> program = capturePreset(plugin, PresetKind::Program, ignored);
    if (program) loadPreset(plugin, *program, ignored);
}

bool savePresetFile(vsthost::Plugin& plugin, const std::string& path, std::string& error) {
    PresetKind kind = PresetKind::Program;
    if (endsWithIgnoringCase(path, ".fxb")) {
        kind = PresetKind::Bank;
    } else if (!endsWithIgnoringCase(path, ".fxp")) {
        error = path + ": a preset file needs the extension .fxp (one program) or .fxb (the whole bank)";
        return false;
    }
    std::optional<PresetFile> preset = capturePreset(plugin, kind, error);
    if (!preset) {
        error = path + ": " + error;
        return false;
    }
    return writeFileReplacing(path, serializePresetFile(*preset), error);
}

}  // namespace render
