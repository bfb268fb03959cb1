#include "host/ModuleHandle.h"

void* moduleInstance = nullptr;

#if defined(_WIN32)
#include <windows.h>

// Every reason (process and thread attach and detach) reports the same handle,
// so storing it each time is harmless; loading never fails here.
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    (void)reason;
    (void)reserved;
    moduleInstance = module;
    return TRUE;
}
#else
#include <dlfcn.h>

namespace {
// Runs when the library is loaded, before any host call, like the Windows load
// notification: records where this library lives.
__attribute__((constructor)) void recordModuleInstance() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&recordModuleInstance), &info) != 0) {
        moduleInstance = info.dli_fbase;
    }
}
}  // namespace
#endif
