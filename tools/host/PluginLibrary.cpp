#include "tools/host/PluginLibrary.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace vsthost {

namespace {

#if defined(_WIN32)
void* loadLibrary(const std::string& path, std::string& reason) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) reason = "Windows error " + std::to_string(GetLastError());
    return reinterpret_cast<void*>(module);
}
void* findSymbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
void unloadLibrary(void* handle) { FreeLibrary(static_cast<HMODULE>(handle)); }
#else
void* loadLibrary(const std::string& path, std::string& reason) {
    // A path without a slash would make dlopen search the system folders.
    const std::string usable = path.find('/') == std::string::npos ? "./" + path : path;
    void* handle = dlopen(usable.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* message = dlerror();
        reason = message ? message : "unknown error";
    }
    return handle;
}
void* findSymbol(void* handle, const char* name) { return dlsym(handle, name); }
void unloadLibrary(void* handle) { dlclose(handle); }
#endif

}  // namespace

std::unique_ptr<PluginLibrary> PluginLibrary::open(const std::string& path, std::string& error) {
    std::string reason;
    void* handle = loadLibrary(path, reason);
    if (!handle) {
        error = path + ": cannot load the library (" + reason + ")";
        return nullptr;
    }
    void* entry = findSymbol(handle, "VSTPluginMain");
    if (!entry) {
        entry = findSymbol(handle, "main");
    }
    if (!entry) {
        unloadLibrary(handle);
        error = path + ": not a VST 2.4 plug-in (no VSTPluginMain or main entry point)";
        return nullptr;
    }
    return std::unique_ptr<PluginLibrary>(
        new PluginLibrary(handle, reinterpret_cast<VstPluginMainProc>(entry), path));
}

PluginLibrary::~PluginLibrary() { unloadLibrary(handle_); }

void* PluginLibrary::symbol(const char* name) const { return findSymbol(handle_, name); }

}  // namespace vsthost
