#include "tools/render/PresetTransfer.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace render {

namespace {

bool usesChunks(vsthost::Plugin& plugin) { return (plugin.effect()->flags & effFlagsProgramChunks) != 0; }

void setProgramName(vsthost::Plugin& plugin, const std::string& name) {
    // Hosts hand over names of at most 24 characters.
    char text[kVstMaxProgNameLen + 1] = {};
    std::memcpy(text, name.data(), std::min<std::size_t>(name.size(), kVstMaxProgNameLen));
    plugin.dispatch(effSetProgramName, 0, 0, text);
}

bool setParameters(vsthost::Plugin& plugin, const ProgramPreset& program, std::string& error) {
    const VstInt32 count = plugin.effect()->numParams;
    if (static_cast<VstInt32>(program.values.size()) != count) {
        error = "holds " + std::to_string(program.values.size()) + " parameter values but the plug-in has " +
                std::to_string(count);
        return false;
    }
    setProgramName(plugin, program.name);
    for (VstInt32 i = 0; i < count; ++i) plugin.setParameter(i, program.values[static_cast<std::size_t>(i)]);
    return true;
}

bool setChunk(vsthost::Plugin& plugin, const PresetFile& preset, std::string& error) {
    if (!usesChunks(plugin)) {
        error = "holds a chunk, but the plug-in keeps no chunks";
        return false;
    }
    const bool isProgram = preset.kind == PresetKind::Program;
    std::vector<uint8_t> chunk = preset.chunk;  // the plug-in may keep the pointer only for the call
    const VstIntPtr accepted = plugin.dispatch(effSetChunk, isProgram ? 1 : 0, static_cast<VstIntPtr>(chunk.size()),
                                               chunk.empty() ? nullptr : chunk.data());
    if (accepted == 0) {
        error = "the plug-in refused its " + std::to_string(chunk.size()) + "-byte " +
                (isProgram ? "program" : "bank") + " chunk (wrong size or content for this plug-in)";
        return false;
    }
    return true;
}

bool loadBankPrograms(vsthost::Plugin& plugin, const PresetFile& preset, std::string& error) {
    const VstInt32 count = plugin.effect()->numPrograms;
    if (static_cast<VstInt32>(preset.programs.size()) != count) {
        error = "holds " + std::to_string(preset.programs.size()) + " programs but the plug-in has " +
                std::to_string(count);
        return false;
    }
    for (VstInt32 index = 0; index < count; ++index) {
        plugin.dispatch(effSetProgram, 0, index);
        if (!setParameters(plugin, preset.programs[static_cast<std::size_t>(index)], error)) {
            error = "program " + std::to_string(index) + " " + error;
            return false;
        }
    }
    return true;
}

bool loadBank(vsthost::Plugin& plugin, const PresetFile& preset, std::string& error) {
    const auto before = static_cast<VstInt32>(plugin.dispatch(effGetProgram));
    const bool loaded = preset.form == PresetForm::Chunk ? setChunk(plugin, preset, error)
                                                         : loadBankPrograms(plugin, preset, error);
    if (!loaded) return false;
    // A bank that records its current program brings it back; otherwise the
    // program that was current stays so.
    VstInt32 current = before;
    if (preset.formatVersion >= 2 && preset.currentProgram >= 0 && preset.currentProgram < plugin.effect()->numPrograms) {
        current = preset.currentProgram;
    }
    plugin.dispatch(effSetProgram, 0, current);
    return true;
}

std::string programName(vsthost::Plugin& plugin) { return plugin.text(effGetProgramName); }

std::vector<uint8_t> chunkOf(vsthost::Plugin& plugin, PresetKind kind) {
    void* data = nullptr;
    const VstIntPtr size = plugin.dispatch(effGetChunk, kind == PresetKind::Program ? 1 : 0, 0, &data);
    if (size <= 0 || !data) return {};
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

ProgramPreset currentProgramValues(vsthost::Plugin& plugin) {
    ProgramPreset program;
    program.name = programName(plugin);
    for (VstInt32 i = 0; i < plugin.effect()->numParams; ++i) program.values.push_back(plugin.getParameter(i));
    return program;
}

}  // namespace

bool loadPreset(vsthost::Plugin& plugin, const PresetFile& preset, std::string& error) {
    const VstInt32 pluginId = plugin.effect()->uniqueID;
    if (preset.pluginId != pluginId) {
        error = "made for the plug-in with ID '" + fourCharText(preset.pluginId) + "', not for this one ('" +
                fourCharText(pluginId) + "')";
        return false;
    }
    if (preset.kind == PresetKind::Bank) return loadBank(plugin, preset, error);
    if (preset.programs.empty()) {
        error = "holds no program";
        return false;
    }
    if (preset.form == PresetForm::Parameters) return setParameters(plugin, preset.programs.front(), error);
    if (!setChunk(plugin, preset, error)) return false;
    setProgramName(plugin, preset.programs.front().name);
    return true;
}

std::optional<PresetFile> capturePreset(vsthost::Plugin& plugin, PresetKind kind, std::string& error) {
    const AEffect& effect = *plugin.effect();
    PresetFile preset;
    preset.kind = kind;
    preset.pluginId = effect.uniqueID;
    preset.pluginVersion = effect.version;
    preset.parameterCount = effect.numParams;
    preset.programCount = effect.numPrograms;
    const auto current = static_cast<VstInt32>(plugin.dispatch(effGetProgram));
    if (kind == PresetKind::Bank) {
        preset.formatVersion = 2;
        preset.currentProgram = current;
    }
    if (usesChunks(plugin)) {
        preset.form = PresetForm::Chunk;
        preset.chunk = chunkOf(plugin, kind);
        if (preset.chunk.empty()) {
            error = "the plug-in gave no chunk to save";
            return std::nullopt;
        }
        if (kind == PresetKind::Program) preset.programs.push_back({programName(plugin), {}});
        return preset;
    }
    preset.form = PresetForm::Parameters;
    if (kind == PresetKind::Program) {
        preset.programs.push_back(currentProgramValues(plugin));
        return preset;
    }
    for (VstInt32 index = 0; index < effect.numPrograms; ++index) {
        plugin.dispatch(effSetProgram, 0, index);
        preset.programs.push_back(currentProgramValues(plugin));
    }
    plugin.dispatch(effSetProgram, 0, current);
    return preset;
}

}  // namespace render
