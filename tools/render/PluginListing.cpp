#include "tools/render/PluginListing.h"

#include <cstdio>

#include "tools/render/PresetFile.h"

namespace render {

namespace {

std::string formatValue(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(value));
    return text;
}

std::string padded(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

void printIdentity(vsthost::Plugin& plugin, const std::string& path, std::ostream& out) {
    const AEffect& effect = *plugin.effect();
    char id[16];
    std::snprintf(id, sizeof id, "0x%08X", static_cast<unsigned>(effect.uniqueID));
    out << "library     " << path << "\n"
        << "name        " << plugin.text(effGetEffectName) << "\n"
        << "product     " << plugin.text(effGetProductString) << "\n"
        << "vendor      " << plugin.text(effGetVendorString) << ", version "
        << plugin.dispatch(effGetVendorVersion) << "\n"
        << "unique ID   '" << fourCharText(effect.uniqueID) << "' (" << id << ")\n"
        << "kind        " << ((effect.flags & effFlagsIsSynth) ? "instrument" : "effect") << ", "
        << effect.numInputs << " inputs, " << effect.numOutputs << " outputs"
        << ((effect.flags & effFlagsProgramChunks) ? ", programs saved as chunks" : "") << "\n";
}

void printPrograms(vsthost::Plugin& plugin, std::ostream& out) {
    const AEffect& effect = *plugin.effect();
    const VstIntPtr current = plugin.dispatch(effGetProgram);
    out << "programs    " << effect.numPrograms << "\n";
    for (VstInt32 index = 0; index < effect.numPrograms; ++index) {
        out << "  " << (index < 10 ? " " : "") << index << "  " << plugin.text(effGetProgramNameIndexed, index)
            << (index == current ? "   (current)" : "") << "\n";
    }
}

void printParameters(vsthost::Plugin& plugin, std::ostream& out) {
    const AEffect& effect = *plugin.effect();
    out << "parameters  " << effect.numParams << "\n";
    for (VstInt32 index = 0; index < effect.numParams; ++index) {
        const std::string display = plugin.text(effGetParamDisplay, index);
        const std::string label = plugin.text(effGetParamLabel, index);
        out << "  " << (index < 10 ? " " : "") << index << "  " << padded(plugin.text(effGetParamName, index), 10)
            << formatValue(plugin.getParameter(index)) << "  (" << display << (label.empty() ? "" : " " + label)
            << ")\n";
    }
}

}  // namespace

void printPluginListing(vsthost::Plugin& plugin, const std::string& path, std::ostream& out) {
    printIdentity(plugin, path, out);
    printPrograms(plugin, out);
    printParameters(plugin, out);
}

}  // namespace render
