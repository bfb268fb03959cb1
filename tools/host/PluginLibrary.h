// Loads a VST 2.4 plug-in library from a path and finds its entry point, the
// way a host does: "VSTPluginMain" first, then the older name "main".
#pragma once

#include <memory>
#include <string>

#include "host/VstAbi.h"

namespace vsthost {

class PluginLibrary {
public:
    // Returns null and fills `error` with a sentence naming the file and the problem.
    static std::unique_ptr<PluginLibrary> open(const std::string& path, std::string& error);
    ~PluginLibrary();

    VstPluginMainProc entryPoint() const { return entry_; }
    // Any other exported symbol, or null.
    void* symbol(const char* name) const;
    const std::string& path() const { return path_; }

    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

private:
    PluginLibrary(void* handle, VstPluginMainProc entry, std::string path)
        : handle_(handle), entry_(entry), path_(std::move(path)) {}

    void* handle_;
    VstPluginMainProc entry_;
    std::string path_;
};

}  // namespace vsthost
