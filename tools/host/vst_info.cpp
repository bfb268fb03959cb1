// vst-info: loads a VST 2.4 plug-in library as a host does and prints what its
// effect record and its texts say.
#include <cstdio>
#include <string>

#include "tools/host/Plugin.h"

namespace {

void printRecord(const AEffect& effect) {
    std::printf("magic          0x%08X\n", static_cast<unsigned>(effect.magic));
    std::printf("uniqueID       0x%08X\n", static_cast<unsigned>(effect.uniqueID));
    std::printf("version        %d\n", effect.version);
    std::printf("flags          0x%X\n", static_cast<unsigned>(effect.flags));
    std::printf("programs       %d\n", effect.numPrograms);
    std::printf("parameters     %d\n", effect.numParams);
    std::printf("inputs         %d\n", effect.numInputs);
    std::printf("outputs        %d\n", effect.numOutputs);
    std::printf("initialDelay   %d\n", effect.initialDelay);
}

void printTexts(vsthost::Plugin& plugin) {
    std::printf("effect name    %s\n", plugin.text(effGetEffectName).c_str());
    std::printf("product        %s\n", plugin.text(effGetProductString).c_str());
    std::printf("vendor         %s\n", plugin.text(effGetVendorString).c_str());
    std::printf("vendor version %ld\n", static_cast<long>(plugin.dispatch(effGetVendorVersion)));
    std::printf("VST version    %ld\n", static_cast<long>(plugin.dispatch(effGetVstVersion)));
    std::printf("category       %ld\n", static_cast<long>(plugin.dispatch(effGetPlugCategory)));
}

void printPrograms(vsthost::Plugin& plugin) {
    const AEffect& effect = *plugin.effect();
    for (VstInt32 p = 0; p < effect.numPrograms; ++p) {
        char name[256] = {};
        plugin.dispatch(effGetProgramNameIndexed, p, 0, name);
        std::printf("program %2d     %s\n", p, name);
    }
}

void printParameters(vsthost::Plugin& plugin) {
    const AEffect& effect = *plugin.effect();
    for (VstInt32 i = 0; i < effect.numParams; ++i) {
        std::printf("parameter %2d   %-8s = %.6f %s (%s)\n", i, plugin.text(effGetParamName, i).c_str(),
                    static_cast<double>(plugin.getParameter(i)), plugin.text(effGetParamLabel, i).c_str(),
                    plugin.text(effGetParamDisplay, i).c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vst-info PLUGIN-LIBRARY\n");
        return 2;
    }
    std::string error;
    auto library = vsthost::PluginLibrary::open(argv[1], error);
    if (!library) {
        std::fprintf(stderr, "vst-info: %s\n", error.c_str());
        return 1;
    }
    vsthost::Host host;
    auto plugin = vsthost::Plugin::create(*library, host, error);
    if (!plugin) {
        std::fprintf(stderr, "vst-info: %s\n", error.c_str());
        return 1;
    }
    std::printf("library        %s\n", argv[1]);
    printRecord(*plugin->effect());
    printTexts(*plugin);
    printPrograms(*plugin);
    printParameters(*plugin);
    return 0;
}
